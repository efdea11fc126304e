// Lesson script: 名詞句 (Form11).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form11()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
