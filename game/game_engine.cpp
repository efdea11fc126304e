#include "game/game_engine.h"

#include "app/navigator.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <set>
#include <utility>

namespace quillory {

namespace {

constexpr int kMaxStep = 32767; // StepNo is 16 bits, signed

std::size_t slot(GameTrigger trigger)
{
    return static_cast<std::size_t>(trigger);
}

} // namespace

std::string triggerName(GameTrigger trigger)
{
    switch (trigger) {
    case GameTrigger::Talk:
        return "Talk";
    case GameTrigger::Partner:
        return "Partner";
    case GameTrigger::Answer1:
    case GameTrigger::Answer2:
    case GameTrigger::Answer3:
    case GameTrigger::Answer4:
        return "Answer " + std::to_string(static_cast<int>(trigger) -
                                          static_cast<int>(GameTrigger::Answer1) + 1);
    case GameTrigger::Again:
        return "Again";
    case GameTrigger::Move:
        return "Move";
    }
    return "?";
}

std::string describe(StepFrom from)
{
    if (!from.isRange())
        return std::to_string(from.low);
    return std::to_string(from.low) + "-" + std::to_string(from.high);
}

bool guardAdmits(GameTrigger trigger, int step)
{
    switch (trigger) {
    case GameTrigger::Talk:
        return step % 2 == 0;
    case GameTrigger::Again:
        return true;
    default:
        return step % 2 != 0;
    }
}

std::vector<const GameRule*> testOrder(const std::vector<GameRule>& rules, GameTrigger trigger)
{
    std::vector<const GameRule*> order;
    for (const GameRule& r : rules) {
        if (r.trigger == trigger)
            order.push_back(&r);
    }
    std::stable_sort(order.begin(), order.end(), [](const GameRule* a, const GameRule* b) {
        if (a->from.high != b->from.high)
            return a->from.high > b->from.high;
        return a->from.isRange() && !b->from.isRange();
    });
    return order;
}

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
        return "Command" + std::to_string(static_cast<int>(trigger) -
                                          static_cast<int>(GameTrigger::Answer1) + 4);
    }
}

GameScreen::GameScreen(Navigator& navigator, GameScript script)
    : Screen(navigator, "Form17", "THE LANTERN ROAD", 7155, 4305, {255, 128, 128}),
      script_(std::move(script))
{
    add(makePicture("P1", {240, 0, 3135, 2295}));
    add(makeButton("Command1", "話す", {3600, 240, 1455, 495}));
    add(makeButton("Command2", "相手が話す", {5280, 240, 1455, 495}));
    add(makeButton("Command8", "もう一度", {3600, 960, 1455, 495}, false));
    add(makeButton("Command3", "終　　了", {5280, 960, 1455, 495}));
    static const char* const kDigits[] = {"１", "２", "３", "４"};
    for (int k = 1; k <= 4; ++k) {
        add(makeButton(buttonName(GameAnswer(k)), kDigits[k - 1],
                       {3600 + 600 * (k - 1), 1800, 495, 495}, false));
    }
    add(makeButton("Command9", "移動", {6000, 1800, 735, 495}, false));
    add(makeText("T1", "会話", {240, 2400, 6615, 1815}, false));
    bindConversationKeys(4);

    for (GameTrigger t : kGameTriggers)
        ordered_[slot(t)] = testOrder(script_.rules, t);
}

void GameScreen::load()
{
    showPicture("P1", kGameFirstPicture);
    greet(Speaker::Partner, kGameGreeting);
}

void GameScreen::onClick(std::string_view control)
{
    if (control == "Command3") {
        back();
        return;
    }
    for (GameTrigger t : kGameTriggers) {
        if (control == buttonName(t)) {
            press(t);
            return;
        }
    }
}

void GameScreen::press(GameTrigger trigger)
{
    if (isAnswer(trigger))
        setChoices(kAllChoices, false);
    if (!guardAdmits(trigger, stepNo_))
        return;
    // Each rule sees StepNo as the rules before it left it, so a remap and the
    // rule it leads to act in the same click.
    for (const GameRule* r : ordered_[slot(trigger)]) {
        if (r->from.contains(stepNo_))
            run(*r);
    }
}

void GameScreen::back()
{
    stepNo_ = 0;
    for (const char* name :
         {"Command4", "Command5", "Command6", "Command7", "Command8", "Command9"})
        setVisible(name, false);
    navigator().showForm("Form20");
    navigator().hideForm(name());
    showPicture("P1", kGameFirstPicture);
    greet(Speaker::Partner, kGameGreeting);
}

void GameScreen::run(const GameRule& rule)
{
    // The hero speaks with Talk and answers bring feedback; everything else is
    // the partner's, or the place's, line.
    const Speaker who = rule.trigger == GameTrigger::Talk ? Speaker::Learner
                        : isAnswer(rule.trigger)          ? Speaker::Feedback
                                                          : Speaker::Partner;
    for (const Effect& e : rule.effects)
        apply(e, who);
    if (rule.to)
        stepNo_ = static_cast<std::int16_t>(*rule.to);
}

void GameScreen::apply(const Effect& e, Speaker who)
{
    if (applySharedEffect(e, "P1", who))
        return;
    switch (e.kind) {
    case EffectKind::ShowChoices:
        setChoices(e.choices, true);
        break;
    case EffectKind::HideChoices:
        setChoices(e.choices, false);
        break;
    case EffectKind::ShowAgain:
        setVisible("Command8", true);
        break;
    case EffectKind::HideAgain:
        setVisible("Command8", false);
        break;
    case EffectKind::ShowMove:
        setVisible("Command9", true);
        break;
    case EffectKind::HideMove:
        setVisible("Command9", false);
        break;
    default:
        break;
    }
}

void GameScreen::setChoices(const std::vector<int>& choices, bool visible)
{
    for (int k : choices) {
        if (k >= 1 && k <= 4)
            setVisible(buttonName(GameAnswer(k)), visible);
    }
}

namespace {

using Ordered = std::array<std::vector<const GameRule*>, std::size(kGameTriggers)>;

Ordered orderedRules(const GameScript& script)
{
    Ordered ordered;
    for (GameTrigger t : kGameTriggers)
        ordered[slot(t)] = testOrder(script.rules, t);
    return ordered;
}

// Whether the script tells this step.
bool told(const GameScript& script, int step)
{
    return std::any_of(script.spans.begin(), script.spans.end(),
                       [step](StepFrom s) { return s.contains(step); });
}

std::string ruleName(const GameRule& r)
{
    return describe(r.from) + " " + triggerName(r.trigger);
}

// What one click does, as the screen's handler would: where StepNo ends, whether
// a fail rule (one that shows Again) acted, and which buttons the click itself
// shows (1) or hides (0); -1 where it leaves a button as it was.
struct Click {
    int step = 0;
    bool failed = false;
    std::array<signed char, std::size(kGameTriggers)> shown{};
};

Click click(const Ordered& ordered, GameTrigger trigger, int step)
{
    Click c{step, false, {}};
    c.shown.fill(-1);
    if (!guardAdmits(trigger, step))
        return c;
    for (const GameRule* r : ordered[slot(trigger)]) {
        if (!r->from.contains(c.step))
            continue;
        for (const Effect& e : r->effects) {
            const signed char show = e.kind == EffectKind::ShowChoices ||
                                     e.kind == EffectKind::ShowAgain ||
                                     e.kind == EffectKind::ShowMove;
            if (e.kind == EffectKind::ShowChoices || e.kind == EffectKind::HideChoices) {
                for (int k : e.choices) {
                    if (k >= 1 && k <= 4)
                        c.shown[slot(GameAnswer(k))] = show;
                }
            } else if (e.kind == EffectKind::ShowAgain || e.kind == EffectKind::HideAgain) {
                c.shown[slot(GameTrigger::Again)] = show;
            } else if (e.kind == EffectKind::ShowMove || e.kind == EffectKind::HideMove) {
                c.shown[slot(GameTrigger::Move)] = show;
            }
            c.failed = c.failed || e.kind == EffectKind::ShowAgain;
        }
        if (r->to)
            c.step = *r->to;
    }
    return c;
}

// Every step reached from the roots by clicks of the given buttons; `follow`
// says whether to go on from a step reached.
template <typename Follow>
std::set<int> reach(const Ordered& ordered, const std::vector<int>& roots,
                    const std::vector<GameTrigger>& triggers, Follow follow)
{
    std::set<int> seen(roots.begin(), roots.end());
    std::vector<int> todo(roots.begin(), roots.end());
    while (!todo.empty()) {
        const int step = todo.back();
        todo.pop_back();
        for (GameTrigger t : triggers) {
            const int next = click(ordered, t, step).step;
            if (next >= 0 && next <= kMaxStep && seen.insert(next).second && follow(next))
                todo.push_back(next);
        }
    }
    return seen;
}

} // namespace

std::vector<std::string> checkGameRules(const GameScript& script,
                                        const std::vector<std::string>& pictures)
{
    std::vector<std::string> problems;
    auto problem = [&](const GameRule& r, const std::string& what) {
        problems.push_back("game rule " + ruleName(r) + ": " + what);
    };
    // Some rule that moves StepNo on from this step, and whose guard lets it act there.
    auto movesOn = [&](int step) {
        return std::any_of(script.rules.begin(), script.rules.end(), [step](const GameRule& r) {
            return r.to && r.from.contains(step) && guardAdmits(r.trigger, step);
        });
    };

    // Each rule on its own.
    for (const GameRule& r : script.rules) {
        if (r.from.low < 0 || r.from.high > kMaxStep || r.from.low > r.from.high)
            problem(r, "From out of range");
        if (r.to && (*r.to < 0 || *r.to > kMaxStep))
            problem(r, "To out of range");
        if (r.effects.empty() && !r.to)
            problem(r, "rule without effects or To");
        if (!r.from.isRange() && !guardAdmits(r.trigger, r.from.low))
            problem(r, "its button's guard never lets it act at this step");
        for (const Effect& e : r.effects) {
            for (const std::string& what : effectProblems(e, 4, pictures))
                problem(r, what);
            if (e.kind == EffectKind::WriteLines && (e.lines.size() == 1 || e.lines.size() > 4))
                problem(r, "WriteLines of " + std::to_string(e.lines.size()) +
                               " lines (2 to 4 expected)");
            if ((e.kind == EffectKind::ShowChoices || e.kind == EffectKind::HideChoices) &&
                e.choices.empty())
                problem(r, "ShowChoices or HideChoices without buttons");
        }
    }

    // Each button's rules in test order.
    for (GameTrigger t : kGameTriggers) {
        const std::vector<const GameRule*> order = testOrder(script.rules, t);
        for (std::size_t i = 0; i < order.size(); ++i) {
            const GameRule& r = *order[i];
            int caught = 0;
            std::string firstCatch;
            for (std::size_t j = i + 1; j < order.size(); ++j) {
                const GameRule& later = *order[j];
                if (later.from.high == r.from.high && later.from.isRange() == r.from.isRange()) {
                    if (later.from == r.from)
                        problem(later, "more than one rule for this From and Trigger");
                    else
                        problem(later, "same upper end as the range " + describe(r.from) +
                                           ", so their order is ambiguous");
                }
                if (r.to && later.from.contains(*r.to)) {
                    if (++caught == 1)
                        firstCatch = describe(later.from);
                }
            }
            if (r.isRemap()) {
                if (caught == 0)
                    problem(r, "remap to " + std::to_string(*r.to) +
                                   " that no later rule of its button takes up");
                else if (caught > 1)
                    problem(r, "remap to " + std::to_string(*r.to) +
                                   " taken up by more than one later rule");
            } else if (r.to && caught > 0) {
                problem(r, "its To " + std::to_string(*r.to) + " is caught again by the rule " +
                               firstCatch + " in the same click");
            }
        }
    }

    // At an odd step only one of Partner, the answer buttons and Move acts, and
    // where the answer buttons act, all four have rules.
    int highest = 0;
    for (const GameRule& r : script.rules) {
        if (r.trigger != GameTrigger::Talk && r.trigger != GameTrigger::Again)
            highest = std::max(highest, std::min(r.from.high, kMaxStep));
    }
    for (int step = 1; step <= highest; step += 2) {
        bool partner = false;
        bool move = false;
        std::array<bool, 4> answers{};
        for (const GameRule& r : script.rules) {
            if (!r.from.contains(step))
                continue;
            if (r.trigger == GameTrigger::Partner)
                partner = true;
            else if (r.trigger == GameTrigger::Move)
                move = true;
            else if (isAnswer(r.trigger))
                answers[static_cast<std::size_t>(static_cast<int>(r.trigger) -
                                                 static_cast<int>(GameTrigger::Answer1))] = true;
        }
        const bool anyAnswer = std::find(answers.begin(), answers.end(), true) != answers.end();
        const std::string at = "game step " + std::to_string(step) + ": ";
        if (int(partner) + int(move) + int(anyAnswer) > 1)
            problems.push_back(at +
                               "more than one of Partner, the answer buttons and Move have rules");
        if (anyAnswer) {
            for (int k = 1; k <= 4; ++k) {
                if (!answers[static_cast<std::size_t>(k - 1)])
                    problems.push_back(at + "Answer " + std::to_string(k) + " has no rule");
            }
        }
    }

    // Within the steps the script tells, every turn of the story has its rule...
    for (StepFrom span : script.spans) {
        for (int step = span.low; step <= std::min(span.high, kGameEndStep - 1); ++step) {
            if (!movesOn(step))
                problems.push_back("game step " + std::to_string(step) + ": no rule of " +
                                   (step % 2 == 0 ? "Talk" : "Partner, the answers or Move") +
                                   " moves on from it");
        }
    }
    // ...and every step a rule leads to has a way on, but the story's end.
    std::map<int, const GameRule*> targets;
    for (const GameRule& r : script.rules) {
        if (r.to && !r.isRemap() && *r.to != kGameEndStep && told(script, *r.to))
            targets.emplace(*r.to, &r);
    }
    for (const auto& [step, from] : targets) {
        if (!movesOn(step))
            problem(*from,
                    "leads to step " + std::to_string(step) + ", where no button's rule moves on");
    }

    // A click that leads to a step where only the answer buttons, Again or Move
    // act must leave one of them shown, or the run is stuck there. Each click is
    // played from every step, with those buttons hidden before it.
    int top = 0;
    for (const GameRule& r : script.rules) {
        top =
            std::max({top, r.from.low, r.from.high < kMaxStep ? r.from.high : 0, r.to.value_or(0)});
    }
    const Ordered ordered = orderedRules(script);
    for (GameTrigger t : kGameTriggers) {
        for (int start = 0; start <= top; ++start) {
            const Click c = click(ordered, t, start);
            if (c.step == start || c.step == kGameEndStep)
                continue;
            std::array<bool, std::size(kGameTriggers)> shown{};
            for (GameTrigger b : kGameTriggers)
                shown[slot(b)] = c.shown[slot(b)] == 1;
            shown[slot(GameTrigger::Talk)] = shown[slot(GameTrigger::Partner)] = true;
            bool movers = false;
            bool reachable = false;
            for (const GameRule& r : script.rules) {
                if (r.to && r.from.contains(c.step) && guardAdmits(r.trigger, c.step)) {
                    movers = true;
                    reachable = reachable || shown[slot(r.trigger)];
                }
            }
            if (movers && !reachable)
                problems.push_back("game step " + std::to_string(c.step) + ": reached by " +
                                   triggerName(t) + " at " + std::to_string(start) +
                                   ", but only buttons hidden there move on from it");
        }
    }
    for (std::string& p : checkGameFlow(script))
        problems.push_back(std::move(p));
    return problems;
}

bool isGameStepValue(int step)
{
    if (step >= 0 && step <= kGameEndStep)
        return true;
    for (int over : kGameOverSteps) {
        if (step == over || step == over + 2 || step == over + 3)
            return true;
    }
    return step == 314 || step == 316 || step == 318 || step == 320 || step == 321;
}

bool isGameOverStep(int step)
{
    return std::find(std::begin(kGameOverSteps), std::end(kGameOverSteps), step) !=
           std::end(kGameOverSteps);
}

std::vector<std::string> checkGameFlow(const GameScript& script)
{
    std::vector<std::string> problems;
    auto at = [](int step) { return "game step " + std::to_string(step) + ": "; };
    const Ordered ordered = orderedRules(script);
    const std::vector<GameTrigger> all(std::begin(kGameTriggers), std::end(kGameTriggers));
    const std::vector<GameTrigger> answers{GameAnswer(1), GameAnswer(2), GameAnswer(3),
                                           GameAnswer(4)};
    std::vector<GameTrigger> asked = answers; // Talk and the answers: playing a series
    asked.push_back(GameTrigger::Talk);

    for (const GameRule& r : script.rules) {
        if (r.to && !isGameStepValue(*r.to))
            problems.push_back("game rule " + ruleName(r) + ": To " + std::to_string(*r.to) +
                               " is not a value StepNo may take");
        if (r.from.contains(kGameEndStep))
            problems.push_back("game rule " + ruleName(r) + ": acts at the story's end");
    }

    // Reachable from 0, and from each first step of the story that the spans
    // before it do not lead into (an episode told while those before it are not).
    std::vector<int> roots{0};
    for (StepFrom s : script.spans) {
        if (s.low > 0 && s.low < kGameEndStep && !told(script, s.low - 1))
            roots.push_back(s.low);
    }
    const std::set<int> reached = reach(ordered, roots, all, [](int) { return true; });
    for (StepFrom s : script.spans) {
        for (int step = s.low; step <= std::min(s.high, kMaxStep); ++step) {
            if (isGameStepValue(step) && !reached.count(step))
                problems.push_back(at(step) + "cannot be reached from step 0");
        }
    }

    // Each answer at a question either goes on, or fails to a game over by a fail rule.
    auto isQuestion = [&](int step) {
        return step % 2 != 0 && std::any_of(answers.begin(), answers.end(), [&](GameTrigger t) {
                   return std::any_of(ordered[slot(t)].begin(), ordered[slot(t)].end(),
                                      [step](const GameRule* r) { return r->from.contains(step); });
               });
    };
    for (int q : reached) {
        if (!isQuestion(q))
            continue;
        for (GameTrigger t : answers) {
            const Click c = click(ordered, t, q);
            const std::string what = at(q) + triggerName(t) + " ";
            if (c.step == q)
                problems.push_back(what + "leaves StepNo as it is");
            else if (isGameOverStep(c.step) && !c.failed)
                problems.push_back(what + "ends at the game over " + std::to_string(c.step) +
                                   " without a fail rule");
            else if (c.failed && !isGameOverStep(c.step))
                problems.push_back(what + "runs a fail rule but ends at " + std::to_string(c.step));
        }
    }

    // A question series: the steps of one of Talk's choice ranges in the story.
    // Its wrong answers, followed through its questions, reach one game over.
    std::map<int, std::vector<StepFrom>> seriesFailingTo;
    for (const GameRule* r : ordered[slot(GameTrigger::Talk)]) {
        const bool choiceRange =
            r->from.isRange() && !r->to && r->from.high < kGameEndStep &&
            std::all_of(r->effects.begin(), r->effects.end(),
                        [](const Effect& e) { return e.kind == EffectKind::ShowChoices; });
        if (!choiceRange)
            continue;
        const StepFrom series = r->from;
        std::set<int> overs;
        for (int q = series.low + 1; q <= series.high + 1; q += 2) {
            if (!isQuestion(q))
                continue;
            const std::set<int> from = reach(ordered, {q}, asked, [&](int s) {
                return s >= series.low && s <= series.high + 1;
            });
            for (int s : from) {
                if (isGameOverStep(s))
                    overs.insert(s);
            }
            if (std::none_of(from.begin(), from.end(), isGameOverStep))
                problems.push_back(at(q) + "no wrong answer leads to a game over");
        }
        if (overs.size() > 1)
            problems.push_back("game series " + describe(series) +
                               ": its wrong answers lead to more than one game over");
        for (int over : overs)
            seriesFailingTo[over].push_back(series);
    }

    // From each game over, the retry leads back into a series that fails into it.
    for (int over : kGameOverSteps) {
        if (!reached.count(over) && !told(script, over))
            continue;
        std::set<int> resumes;
        reach(ordered, {over}, all, [&](int s) {
            if (s <= kGameEndStep)
                resumes.insert(s);
            return s > kGameEndStep;
        });
        if (resumes.empty())
            problems.push_back(at(over) + "no retry leads back into the story");
        const std::vector<StepFrom>& series = seriesFailingTo[over];
        for (int resume : resumes) {
            if (std::none_of(series.begin(), series.end(),
                             [resume](StepFrom s) { return s.contains(resume); }))
                problems.push_back(at(over) + "its retry resumes at " + std::to_string(resume) +
                                   ", outside every series that fails into it");
        }
    }
    return problems;
}

} // namespace quillory
