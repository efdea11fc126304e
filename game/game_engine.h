// The game screen Form17 and its turn engine, running any GameScript.
#pragma once

#include "game/game_script.h"
#include "ui/screen.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillory {

// The old woman's greeting, shown at creation and after each way back.
inline constexpr const char* kGameGreeting = "ふふふ、これからどこへ行きなさるのじゃ？";
inline constexpr const char* kGameFirstPicture = "roujin.bmp";
// The story's last step: only the way back acts there.
inline constexpr int kGameEndStep = 279;

class GameScreen : public Screen {
public:
    GameScreen(Navigator& navigator, GameScript script);

    std::optional<int> step() const override { return stepNo_; }
    // Form_Load.
    void load() override;

    // The click handler of a trigger's button, whether or not the button is visible.
    void press(GameTrigger trigger);
    // "終　　了": back to the menu, reset to the opening state.
    void back();

    static std::string buttonName(GameTrigger trigger);
    const GameScript& script() const { return script_; }

protected:
    void onClick(std::string_view control) override;

private:
    void run(const GameRule& rule);
    void apply(const Effect& effect, Speaker who);
    void setChoices(const std::vector<int>& choices, bool visible);

    GameScript script_;
    std::array<std::vector<const GameRule*>, std::size(kGameTriggers)> ordered_;
    std::int16_t stepNo_ = 0;
};

// Whether a trigger's guard lets its button act at a step.
bool guardAdmits(GameTrigger trigger, int step);

// A button's rules in the order a click tests them: by the upper end of From,
// highest first; a range before a single value of the same upper end; otherwise
// as listed.
std::vector<const GameRule*> testOrder(const std::vector<GameRule>& rules, GameTrigger trigger);

} // namespace quillory
