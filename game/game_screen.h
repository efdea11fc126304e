// The adventure game screen.
#pragma once

#include "ui/screen.h"

#include <memory>
#include <string>
#include <vector>

namespace quillory {

std::unique_ptr<Screen> makeGameScreen(Navigator& navigator);

// Problems found in the game's script (empty when sound).
std::vector<std::string> checkGameScript(const std::vector<std::string>& pictures);

} // namespace quillory
