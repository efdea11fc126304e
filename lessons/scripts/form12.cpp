// Lesson script: 名詞節 (Form12).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form12()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
