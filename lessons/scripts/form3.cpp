// Lesson script: ５文型 Part 1 (Form3).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form3()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
