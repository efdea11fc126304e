// The sentence-pattern quiz screen.
#pragma once

#include "ui/screen.h"

#include <memory>

namespace quillory {

std::unique_ptr<Screen> makeQuizScreen(ScreenHost& host);

} // namespace quillory
