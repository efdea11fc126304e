// Lesson script: 仮定法 (Form15).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form15()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
