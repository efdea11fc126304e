// The keys of each screen: which button a key presses.
#pragma once

#include "ui/screen.h"

#include <QString>

#include <string>

namespace quillory {

// The button that the key presses on the screen as it is now, or an empty name
// when the key does nothing there. Digit keys of the keypad count as digits.
std::string keyTarget(const Screen& screen, int key, Qt::KeyboardModifiers modifiers);

// The keys that press a button, as shown in its tooltip; empty when none does.
QString keyHint(const Screen& screen, const std::string& button);

} // namespace quillory
