// The fourteen lesson scripts, one file each.
#pragma once

#include "lessons/lesson_script.h"

namespace quillory::scripts {

const LessonScript& form3();
const LessonScript& form4();
const LessonScript& form5();
const LessonScript& form6();
const LessonScript& form7();
const LessonScript& form8();
const LessonScript& form9();
const LessonScript& form10();
const LessonScript& form11();
const LessonScript& form12();
const LessonScript& form13();
const LessonScript& form14();
const LessonScript& form15();
const LessonScript& form16();

} // namespace quillory::scripts
