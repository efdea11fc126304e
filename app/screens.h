// Every screen of the program, made known to a navigator.
#pragma once

#include "app/navigator.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillory {

class Learning;

// With a learner's record, the menu shows progress and the review and record
// screens are there too.
void defineScreens(Navigator& navigator, Learning* learning = nullptr);

// The program at start-up: every screen defined and the title screen shown, with
// programFolder as the folder of its pictures.
std::unique_ptr<Navigator> startProgram(const std::filesystem::path& programFolder,
                                        Learning* learning = nullptr);

// Problems found in the script tables (empty when every table is sound).
std::vector<std::string> checkScripts();

} // namespace quillory
