// Every screen of the program, made known to a navigator.
#pragma once

#include "app/navigator.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillory {

void defineScreens(Navigator& navigator);

// The program at start-up: every screen defined and the title screen shown, with
// programFolder as the folder of its pictures.
std::unique_ptr<Navigator> startProgram(const std::filesystem::path& programFolder);

// Problems found in the script tables (empty when every table is sound).
std::vector<std::string> checkScripts();

} // namespace quillory
