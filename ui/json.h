// Text as a JSON string literal, and the parts of the drivers' state lines that
// come from the screen model alone.
#pragma once

#include "ui/control.h"

#include <string>
#include <string_view>

namespace quillory {

// `text` (valid UTF-8) in quotes, with quotes, backslashes and control
// characters escaped, so that the literal never holds a raw line break.
std::string jsonQuoted(std::string_view text);

std::string jsonBoolean(bool value);

// "button", "text", "label" or "picture".
const char* controlKindName(ControlKind kind);

// What the record adds to a control's line: `addition`, the menu's `progress`
// and `due`, each as ", \"field\": value"; empty when it has none.
std::string recordFields(const Control& control);

} // namespace quillory
