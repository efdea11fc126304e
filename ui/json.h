// Text as a JSON string literal, for the drivers' state lines.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// `text` (valid UTF-8) in quotes, with quotes, backslashes and control
// characters escaped, so that the literal never holds a raw line break.
std::string jsonQuoted(std::string_view text);

} // namespace quillory
