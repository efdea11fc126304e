// Every screen of the program, made known to a navigator.
#pragma once

#include "app/navigator.h"

#include <string>
#include <vector>

namespace quillory {

void defineScreens(Navigator& navigator);

// Problems found in the script tables (empty when every table is sound).
std::vector<std::string> checkScripts();

} // namespace quillory
