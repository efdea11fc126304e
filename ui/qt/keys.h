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

// What the dialogue text box T1 offers (on the lessons, the quiz and the game): R
// reads its English aloud, H opens the conversation so far.
enum class TextAction { None, ReadAloud, History };
TextAction textAction(const Screen& screen, int key, Qt::KeyboardModifiers modifiers);
bool hasTextActions(const Screen& screen);

// The one-line key strip under a screen: the keys that do something there.
QString keyStrip(const Screen& screen);

// The entries of the text box's context menu and the tooltip that names their keys.
QString readAloudEntry();
QString historyEntry();
QString textBoxHint();

} // namespace quillory
