// Lesson script: ５文型 Part 5 (Form7).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form7()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
