// The checks of a game script: each rule, each button's test order, the odd
// steps, the ways on, hidden buttons, and the flow of clicks from step to step.
#include "game/game_screen.h"
#include "game/scenario/episodes.h"

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

Click click(const GameTurns& turns, GameTrigger trigger, int step)
{
    const GameTurn turn = turns.turn(step, trigger);
    Click c{GameTurns::stepAfter(turn, step), false, {}};
    c.shown.fill(-1);
    for (const GameRule* r : turn.rules) {
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
    }
    return c;
}

// Every step reached from the roots by clicks of the given buttons; `follow`
// says whether to go on from a step reached.
template <typename Follow>
std::set<int> reach(const GameTurns& turns, const std::vector<int>& roots,
                    const std::vector<GameTrigger>& triggers, Follow follow)
{
    std::set<int> seen(roots.begin(), roots.end());
    std::vector<int> todo(roots.begin(), roots.end());
    while (!todo.empty()) {
        const int step = todo.back();
        todo.pop_back();
        for (GameTrigger t : triggers) {
            const int next = click(turns, t, step).step;
            if (next >= 0 && next <= kMaxStep && seen.insert(next).second && follow(next))
                todo.push_back(next);
        }
    }
    return seen;
}

// Some rule that moves StepNo on from this step, and whose guard lets it act there.
bool movesOnFrom(const GameScript& script, int step)
{
    return std::any_of(script.rules.begin(), script.rules.end(), [step](const GameRule& r) {
        return r.to && r.from.contains(step) && guardAdmits(r.trigger, step);
    });
}

// Each rule on its own: ranges, guards, effects.
void checkEachRule(const GameScript& script, const std::vector<std::string>& pictures,
                   std::vector<std::string>& problems)
{
    auto problem = [&](const GameRule& r, const std::string& what) {
        problems.push_back("game rule " + ruleName(r) + ": " + what);
    };
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
}

// Each button's rules in test order: duplicates, ambiguous order, remaps
// that lead nowhere or twice, rules caught again in the same click.
void checkTestOrder(const GameScript& script, std::vector<std::string>& problems)
{
    auto problem = [&](const GameRule& r, const std::string& what) {
        problems.push_back("game rule " + ruleName(r) + ": " + what);
    };
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
}

// At an odd step only one of Partner, the answer buttons and Move acts, and
// where the answer buttons act, all four have rules.
void checkOddSteps(const GameScript& script, std::vector<std::string>& problems)
{
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
}

// Within the steps the script tells, every turn of the story has its rule,
// and every step a rule leads to has a way on, but the story's end.
void checkWaysOn(const GameScript& script, std::vector<std::string>& problems)
{
    auto problem = [&](const GameRule& r, const std::string& what) {
        problems.push_back("game rule " + ruleName(r) + ": " + what);
    };
    auto movesOn = [&](int step) { return movesOnFrom(script, step); };
    // Within the steps the script tells, every turn of the story has its rule...
    for (StepFrom span : script.spans) {
        for (int step = span.low; step <= std::min(span.high, script.story.endStep - 1); ++step) {
            if (!movesOn(step))
                problems.push_back("game step " + std::to_string(step) + ": no rule of " +
                                   (step % 2 == 0 ? "Talk" : "Partner, the answers or Move") +
                                   " moves on from it");
        }
    }
    // ...and every step a rule leads to has a way on, but the story's end.
    std::map<int, const GameRule*> targets;
    for (const GameRule& r : script.rules) {
        if (r.to && !r.isRemap() && *r.to != script.story.endStep && told(script, *r.to))
            targets.emplace(*r.to, &r);
    }
    for (const auto& [step, from] : targets) {
        if (!movesOn(step))
            problem(*from,
                    "leads to step " + std::to_string(step) + ", where no button's rule moves on");
    }
}

// A click that leads to a step where only the answer buttons, Again or Move
// act must leave one of them shown, or the run is stuck there. Each click is
// played from every step, with those buttons hidden before it.
void checkHiddenButtons(const GameScript& script, std::vector<std::string>& problems)
{
    int top = 0;
    for (const GameRule& r : script.rules) {
        top =
            std::max({top, r.from.low, r.from.high < kMaxStep ? r.from.high : 0, r.to.value_or(0)});
    }
    const GameTurns turns(script);
    for (GameTrigger t : kGameTriggers) {
        for (int start = 0; start <= top; ++start) {
            const Click c = click(turns, t, start);
            if (c.step == start || c.step == script.story.endStep)
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
}

// Each question, an odd step at which the answer buttons act, has exactly one
// right answer, and it goes on: it neither leaves StepNo as it is nor fails, and
// ends where no wrong answer does (a game over, or in the water trap the next
// level). At a question that judges nothing, every answer goes on, each its
// own way.
void checkRightAnswers(const GameScript& script, std::vector<std::string>& problems)
{
    const GameTurns turns(script);
    auto at = [](int step) { return "game step " + std::to_string(step) + ": "; };
    auto isQuestion = [&](int step) {
        if (step < 0 || step % 2 == 0)
            return false;
        for (int k = 1; k <= 4; ++k) {
            if (!turns.turn(step, GameAnswer(k)).rules.empty())
                return true;
        }
        return false;
    };
    auto goesOn = [&](const Click& c, int step) {
        return c.step != step && !c.failed && !script.story.isGameOver(c.step);
    };
    std::map<int, int> given;
    for (const GameRightAnswer& right : script.rightAnswers) {
        const int q = right.step;
        if (++given[q] == 2)
            problems.push_back(at(q) + "more than one right answer");
        if (!isQuestion(q)) {
            problems.push_back(at(q) + "a right answer where no question waits");
            continue;
        }
        if (right.answer == kAnyAnswer) {
            std::map<int, int> endsOf; // where each answer ends, and by which
            for (int k = 1; k <= 4; ++k) {
                const Click c = click(turns, GameAnswer(k), q);
                const std::string what =
                    at(q) + "any answer is right, but Answer " + std::to_string(k);
                if (!goesOn(c, q))
                    problems.push_back(what + " does not go on");
                else if (!endsOf.emplace(c.step, k).second)
                    problems.push_back(what + " leads to " + std::to_string(c.step) +
                                       ", as Answer " + std::to_string(endsOf[c.step]) + " does");
            }
            continue;
        }
        if (right.answer < 1 || right.answer > 4) {
            problems.push_back(at(q) + "right answer " + std::to_string(right.answer) +
                               " is not an answer button");
            continue;
        }
        const Click c = click(turns, GameAnswer(right.answer), q);
        const std::string what = at(q) + "right answer " + std::to_string(right.answer);
        if (!goesOn(c, q)) {
            problems.push_back(what + " does not go on (it ends at " + std::to_string(c.step) +
                               ")");
            continue;
        }
        for (int k = 1; k <= 4; ++k) {
            if (k != right.answer && click(turns, GameAnswer(k), q).step == c.step)
                problems.push_back(what + " leads to " + std::to_string(c.step) +
                                   ", as the wrong Answer " + std::to_string(k) + " does");
        }
    }
    int highest = 0;
    for (const GameRule& r : script.rules) {
        if (isAnswer(r.trigger))
            highest = std::max(highest, std::min(r.from.high, kMaxStep));
    }
    for (int q = 1; q <= highest; q += 2) {
        if (isQuestion(q) && given.count(q) == 0)
            problems.push_back(at(q) + "question without a right answer");
    }
}

} // namespace

std::vector<std::string> checkGameRules(const GameScript& script,
                                        const std::vector<std::string>& pictures)
{
    std::vector<std::string> problems;
    checkEachRule(script, pictures, problems);
    checkTestOrder(script, problems);
    checkOddSteps(script, problems);
    checkWaysOn(script, problems);
    checkHiddenButtons(script, problems);
    checkRightAnswers(script, problems);
    for (std::string& p : checkGameFlow(script))
        problems.push_back(std::move(p));
    return problems;
}

std::vector<std::string> checkGameFlow(const GameScript& script)
{
    std::vector<std::string> problems;
    auto at = [](int step) { return "game step " + std::to_string(step) + ": "; };
    const GameStory& story = script.story;
    const GameTurns turns(script);
    const std::vector<GameTrigger> all(std::begin(kGameTriggers), std::end(kGameTriggers));
    const std::vector<GameTrigger> answers{GameAnswer(1), GameAnswer(2), GameAnswer(3),
                                           GameAnswer(4)};
    std::vector<GameTrigger> asked = answers; // Talk and the answers: playing a series
    asked.push_back(GameTrigger::Talk);

    for (const GameRule& r : script.rules) {
        if (r.to && !story.isStepValue(*r.to))
            problems.push_back("game rule " + ruleName(r) + ": To " + std::to_string(*r.to) +
                               " is not a value StepNo may take");
        if (r.from.contains(story.endStep))
            problems.push_back("game rule " + ruleName(r) + ": acts at the story's end");
    }

    // Reachable from 0, and from each first step of the story that the spans
    // before it do not lead into (an episode told while those before it are not).
    std::vector<int> roots{0};
    for (StepFrom s : script.spans) {
        if (s.low > 0 && s.low < story.endStep && !told(script, s.low - 1))
            roots.push_back(s.low);
    }
    const std::set<int> reached = reach(turns, roots, all, [](int) { return true; });
    for (StepFrom s : script.spans) {
        for (int step = s.low; step <= std::min(s.high, kMaxStep); ++step) {
            if (story.isStepValue(step) && !reached.count(step))
                problems.push_back(at(step) + "cannot be reached from step 0");
        }
    }

    // Each answer at a question either goes on, or fails to a game over by a fail rule.
    auto isQuestion = [&](int step) {
        return step % 2 != 0 && std::any_of(answers.begin(), answers.end(), [&](GameTrigger t) {
                   return !turns.turn(step, t).rules.empty();
               });
    };
    for (int q : reached) {
        if (!isQuestion(q))
            continue;
        for (GameTrigger t : answers) {
            const Click c = click(turns, t, q);
            const std::string what = at(q) + triggerName(t) + " ";
            if (c.step == q)
                problems.push_back(what + "leaves StepNo as it is");
            else if (story.isGameOver(c.step) && !c.failed)
                problems.push_back(what + "ends at the game over " + std::to_string(c.step) +
                                   " without a fail rule");
            else if (c.failed && !story.isGameOver(c.step))
                problems.push_back(what + "runs a fail rule but ends at " + std::to_string(c.step));
        }
    }

    // A question series: the steps of one of Talk's choice ranges in the story.
    // Its wrong answers, followed through its questions, reach one game over.
    std::map<int, std::vector<StepFrom>> seriesFailingTo;
    for (const GameRule* r : testOrder(script.rules, GameTrigger::Talk)) {
        const bool choiceRange =
            r->from.isRange() && !r->to && r->from.high < story.endStep &&
            std::all_of(r->effects.begin(), r->effects.end(),
                        [](const Effect& e) { return e.kind == EffectKind::ShowChoices; });
        if (!choiceRange)
            continue;
        const StepFrom series = r->from;
        std::set<int> overs;
        for (int q = series.low + 1; q <= series.high + 1; q += 2) {
            if (!isQuestion(q))
                continue;
            const std::set<int> from = reach(
                turns, {q}, asked, [&](int s) { return s >= series.low && s <= series.high + 1; });
            for (int s : from) {
                if (story.isGameOver(s))
                    overs.insert(s);
            }
            if (std::none_of(from.begin(), from.end(), [&](int s) { return story.isGameOver(s); }))
                problems.push_back(at(q) + "no wrong answer leads to a game over");
        }
        if (overs.size() > 1)
            problems.push_back("game series " + describe(series) +
                               ": its wrong answers lead to more than one game over");
        for (int over : overs)
            seriesFailingTo[over].push_back(series);
    }

    // From each game over, the retry leads back into a series that fails into it.
    for (int over : story.gameOverSteps) {
        if (!reached.count(over) && !told(script, over))
            continue;
        std::set<int> resumes;
        reach(turns, {over}, all, [&](int s) {
            if (s <= story.endStep)
                resumes.insert(s);
            return s > story.endStep;
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

std::vector<std::string> checkGameScript(const std::vector<std::string>& pictures)
{
    const GameScript& script = gameScript();
    std::vector<std::string> problems = checkGameRules(script, pictures);
    if (std::find(pictures.begin(), pictures.end(), script.story.firstPicture) == pictures.end())
        problems.push_back("game: first picture " + script.story.firstPicture +
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
        for (const GameRightAnswer& right : episode.rightAnswers) {
            if (std::none_of(episode.spans.begin(), episode.spans.end(),
                             [&](StepFrom s) { return s.contains(right.step); }))
                problems.push_back(who + "right answer at " + std::to_string(right.step) +
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
