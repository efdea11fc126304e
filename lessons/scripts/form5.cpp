// Lesson script: ５文型 Part 3 (Form5).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form5()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
