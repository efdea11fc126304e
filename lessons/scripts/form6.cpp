// Lesson script: ５文型 Part 4 (Form6).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form6()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
