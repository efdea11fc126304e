// The game screen Form17 and its turn engine, running any GameScript.
#pragma once

#include "game/game_script.h"
#include "ui/conversation_screen.h"

#include <memory>
#include <string>
#include <vector>

namespace quillory {

class GameScreen : public ConversationScreen {
public:
    // The script must outlive the screen.
    GameScreen(ScreenHost& host, const GameScript& script);

    // Form_Load.
    void load() override;

    // The click handler of a trigger's button, whether or not the button is visible.
    void press(GameTrigger trigger);

    static std::string buttonName(GameTrigger trigger);
    std::optional<int> progressStep() const override;
    int lastStep() const override { return script().story.endStep; }
    bool finished() const override { return stepNo() == script().story.endStep; }
    const GameScript& script() const { return turns_.script(); }

protected:
    void talk() override { press(GameTrigger::Talk); }
    void other() override { press(GameTrigger::Partner); }
    void answer(int k) override { press(GameAnswer(k)); }
    // "終　　了": back to the menu, reset to the opening state.
    void back() override;
    void otherButton(std::string_view control) override;
    bool acts(std::string_view button) const override;
    bool ownEffectChanges(const Effect& effect) const override;

private:
    void run(const GameRule& rule, bool asks);
    void apply(const Effect& effect, Speaker who);

    GameTurns turns_;
};

std::unique_ptr<Screen> makeGameScreen(ScreenHost& host);

// The whole game: the shared rules, every episode and the story around them.
const GameScript& gameScript();

// Problems found in the game's script (empty when sound).
std::vector<std::string> checkGameScript(const std::vector<std::string>& pictures);

} // namespace quillory
