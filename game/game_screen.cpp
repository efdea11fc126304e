#include "game/game_screen.h"

#include "game/scenario/episodes.h"
#include "ui/screen_host.h"

#include <algorithm>

namespace quillory {

std::string GameScreen::buttonName(GameTrigger trigger)
{
    switch (trigger) {
    case GameTrigger::Talk:
        return "Command1";
    case GameTrigger::Partner:
        return "Command2";
    case GameTrigger::Again:
        return "Command8";
    case GameTrigger::Move:
        return "Command9";
    default:
        return answerButton(static_cast<int>(trigger) - static_cast<int>(GameTrigger::Answer1) + 1);
    }
}

GameScreen::GameScreen(ScreenHost& host, const GameScript& script)
    : ConversationScreen(host, "Form17", "THE LANTERN ROAD", 7155, 4305, {255, 128, 128}, "P1",
                         Speaker::Partner),
      turns_(script)
{
    add(makePicture("P1", {240, 0, 3135, 2295}));
    add(makeButton("Command1", "話す", {3600, 240, 1455, 495}));
    add(makeButton("Command2", "相手が話す", {5280, 240, 1455, 495}));
    add(makeButton(buttonName(GameTrigger::Again), "もう一度", {3600, 960, 1455, 495}, false));
    add(makeButton("Command3", "終　　了", {5280, 960, 1455, 495}));
    addAnswerButtons({3600, 4200, 4800, 5400}, 1800, 495);
    add(makeButton(buttonName(GameTrigger::Move), "移動", {6000, 1800, 735, 495}, false));
    add(makeText("T1", "会話", {240, 2400, 6615, 1815}, false));
    // Return: Again, Move, then Partner or Talk, whichever acts first.
    bindKey(Key::Return, buttonName(GameTrigger::Again), KeyBinding::When::Always, true);
    bindKey(Key::Return, buttonName(GameTrigger::Move), KeyBinding::When::Always, true);
    bindConversationKeys(true);
}

std::optional<int> GameScreen::progressStep() const
{
    // Game overs and their retries lie beyond the story.
    if (stepNo() > script().story.endStep)
        return std::nullopt;
    return stepNo();
}

void GameScreen::load()
{
    open(script().story.firstPicture, script().story.greeting);
}

void GameScreen::otherButton(std::string_view control)
{
    for (GameTrigger t : {GameTrigger::Again, GameTrigger::Move}) {
        if (control == buttonName(t))
            press(t);
    }
}

bool GameScreen::acts(std::string_view button) const
{
    if (button == "Command3")
        return true;
    for (GameTrigger t : kGameTriggers) {
        if (button != buttonName(t))
            continue;
        // An answer button hides the answer buttons, itself among them.
        const GameTurn turn = turns_.turn(stepNo(), t);
        return turn.hidesAnswers || GameTurns::stepAfter(turn, stepNo()) != stepNo() ||
               std::any_of(turn.rules.begin(), turn.rules.end(),
                           [this](const GameRule* r) { return changes(r->effects, Stay); });
    }
    return false;
}

bool GameScreen::ownEffectChanges(const Effect& e) const
{
    switch (e.kind) {
    case EffectKind::ShowAgain:
    case EffectKind::HideAgain:
        return control(buttonName(GameTrigger::Again)).visible != (e.kind == EffectKind::ShowAgain);
    case EffectKind::ShowMove:
    case EffectKind::HideMove:
        return control(buttonName(GameTrigger::Move)).visible != (e.kind == EffectKind::ShowMove);
    default:
        return false;
    }
}

void GameScreen::press(GameTrigger trigger)
{
    const GameTurn turn = turns_.turn(stepNo(), trigger);
    if (isAnswer(trigger) && !turn.rules.empty())
        noteAnswer(static_cast<int>(trigger) - static_cast<int>(GameTrigger::Answer1) + 1,
                   rightAnswer(script(), stepNo()));
    if (turn.hidesAnswers)
        hideAllChoices();
    // A text that comes with the answer buttons puts a question.
    const bool asks = std::any_of(turn.rules.begin(), turn.rules.end(),
                                  [](const GameRule* r) { return showsChoices(r->effects); });
    for (const GameRule* r : turn.rules)
        run(*r, asks);
}

void GameScreen::back()
{
    setStepNo(0);
    setVisible(buttonName(GameTrigger::Again), false);
    setVisible(buttonName(GameTrigger::Move), false);
    leave(kMenuScreen, script().story.firstPicture, script().story.greeting);
}

void GameScreen::run(const GameRule& rule, bool asks)
{
    // The hero speaks with Talk and answers bring feedback; everything else is
    // the partner's, or the place's, line.
    const Speaker who = speakerOf(rule.trigger == GameTrigger::Talk ? Voice::Talk
                                  : isAnswer(rule.trigger)          ? Voice::Answer
                                                                    : Voice::Other,
                                  asks);
    for (const Effect& e : rule.effects)
        apply(e, who);
    if (rule.to)
        setStepNo(*rule.to);
}

void GameScreen::apply(const Effect& e, Speaker who)
{
    if (applyConversationEffect(e, who))
        return;
    switch (e.kind) {
    case EffectKind::ShowAgain:
    case EffectKind::HideAgain:
        setVisible(buttonName(GameTrigger::Again), e.kind == EffectKind::ShowAgain);
        break;
    case EffectKind::ShowMove:
    case EffectKind::HideMove:
        setVisible(buttonName(GameTrigger::Move), e.kind == EffectKind::ShowMove);
        break;
    default:
        break;
    }
}

const GameScript& gameScript()
{
    static const GameScript kScript = [] {
        GameScript script;
        script.rules = scenario::sharedRules();
        for (const scenario::Episode* episode : scenario::episodes()) {
            script.rules.insert(script.rules.end(), episode->rules.begin(), episode->rules.end());
            script.spans.insert(script.spans.end(), episode->spans.begin(), episode->spans.end());
            script.rightAnswers.insert(script.rightAnswers.end(), episode->rightAnswers.begin(),
                                       episode->rightAnswers.end());
        }
        script.story = scenario::story();
        return script;
    }();
    return kScript;
}

std::unique_ptr<Screen> makeGameScreen(ScreenHost& host)
{
    return std::make_unique<GameScreen>(host, gameScript());
}

} // namespace quillory
