#include "game/game_screen.h"

#include "game/game_engine.h"
#include "game/scenario/episodes.h"

#include <algorithm>

namespace quillory {

const GameScript& gameScript()
{
    static const GameScript kScript = [] {
        GameScript script;
        script.rules = scenario::sharedRules();
        for (const scenario::Episode* episode : scenario::episodes()) {
            script.rules.insert(script.rules.end(), episode->rules.begin(), episode->rules.end());
            script.spans.insert(script.spans.end(), episode->spans.begin(), episode->spans.end());
        }
        return script;
    }();
    return kScript;
}

std::unique_ptr<Screen> makeGameScreen(Navigator& navigator)
{
    return std::make_unique<GameScreen>(navigator, gameScript());
}

std::vector<std::string> checkGameScript(const std::vector<std::string>& pictures)
{
    std::vector<std::string> problems = checkGameRules(gameScript(), pictures);
    if (std::find(pictures.begin(), pictures.end(), kGameFirstPicture) == pictures.end())
        problems.push_back(std::string("game: first picture ") + kGameFirstPicture +
                           " is not among the assets");

    const auto& episodes = scenario::episodes();
    for (std::size_t i = 0; i < episodes.size(); ++i) {
        const scenario::Episode& episode = *episodes[i];
        const std::string who = "game episode " + std::to_string(i + 1) + ": ";
        for (const GameRule& r : episode.rules) {
            const bool inside =
                std::any_of(episode.spans.begin(), episode.spans.end(), [&](StepFrom s) {
                    return s.low <= r.from.low && r.from.high <= s.high;
                });
            if (!inside)
                problems.push_back(who + "rule " + describe(r.from) + " " + triggerName(r.trigger) +
                                   " lies outside its steps");
        }
        for (std::size_t j = 0; j < i; ++j) {
            for (StepFrom a : episode.spans) {
                for (StepFrom b : episodes[j]->spans) {
                    if (a.low <= b.high && b.low <= a.high)
                        problems.push_back(who + "steps " + describe(a) +
                                           " overlap those of episode " + std::to_string(j + 1));
                }
            }
        }
    }
    return problems;
}

} // namespace quillory
