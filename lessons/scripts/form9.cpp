// Lesson script: 形容詞節 Part 1 (Form9).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form9()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
