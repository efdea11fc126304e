// Lesson script: ５文型 Part 2 (Form4).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form4()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
