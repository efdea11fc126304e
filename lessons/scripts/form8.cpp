// Lesson script: 形容詞句 (Form8).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form8()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
