// Lesson script: 副詞節 (Form14).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form14()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
