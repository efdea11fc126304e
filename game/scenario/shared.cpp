// The story around the episodes, the rules every episode relies on, and the
// list of episodes.
#include "game/scenario/episodes.h"

namespace quillory::scenario {

const GameStory& story()
{
    static const GameStory kStory{
        "ふふふ、これからどこへ行きなさるのじゃ？",
        "roujin.bmp",
        279,
        {280, 290, 300, 310, 330, 340, 350},
        // The water trap's retry asks one of four questions after the name.
        {314, 316, 318, 320, 321},
    };
    return kStory;
}

const std::vector<GameRule>& sharedRules()
{
    using enum GameTrigger;
    static const std::vector<GameRule> kRules{
        // Talk at a question step first brings back the four answer buttons.
        {Steps(12, 20), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(38, 46), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(76, 84), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(96, 104), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(116, 124), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(146, 174), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(190, 198), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(218, 226), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(240, 248), Talk, {ShowChoices(kAllChoices)}, Stay},
        {Steps(282, 352), Talk, {ShowChoices(kAllChoices)}, Stay},
        // From a game over, Again first hides itself.
        {Steps(280, 32767), Again, {HideAgain()}, Stay},
    };
    return kRules;
}

const std::vector<const Episode*>& episodes()
{
    static const std::vector<const Episode*> kEpisodes{
        &episode1(), &episode2(), &episode3(), &episode4(),
        &episode5(), &episode6(), &episode7(), &episode8(),
    };
    return kEpisodes;
}

} // namespace quillory::scenario
