// Lesson script: 形容詞節 Part 2 (Form10).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form10()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
