// Lesson script: 副詞句 (Form13).
#include "lessons/scripts/scripts.h"

namespace quillory::scripts {

const LessonScript& form13()
{
    static const LessonScript script{};
    return script;
}

} // namespace quillory::scripts
