// The adventure game screen.
#pragma once

#include "game/game_script.h"
#include "ui/screen.h"

#include <memory>
#include <string>
#include <vector>

namespace quillory {

class Navigator;

std::unique_ptr<Screen> makeGameScreen(Navigator& navigator);

// The whole game: the shared rules and every episode.
const GameScript& gameScript();

// Problems found in the game's script (empty when sound).
std::vector<std::string> checkGameScript(const std::vector<std::string>& pictures);

} // namespace quillory
