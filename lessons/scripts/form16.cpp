// Lesson script: 分詞構文 (Form16).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form16()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
