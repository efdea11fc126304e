// Soak: seeded random clicks on the real widgets through the replay driver, with
// the screens' rules checked after every click, and the heap over many restarts.
//
//   view_soak_test [--clicks N] [--seed S] [--restarts N] [QTest options]
//
// ctest runs the small default; tools/soak.sh runs the long one.
#include "app/navigator.h"
#include "app/screens.h"
#include "app/shell_screens.h"
#include "game/game_screen.h"
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "quiz/quiz_rules.h"
#include "tools/replay.h"
#include "ui/qt/fonts.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLORY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLORY_ASAN 1
#endif
#endif
#ifdef QUILLORY_ASAN
// The sanitizer's own count; mallinfo2 does not see its heap.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using namespace quillory;

namespace {

long gClicks = 10000;
long gRestarts = 600;
unsigned long gSeed = 2;

using Buttons = std::set<std::string>;

// What a screen's script lets happen: the StepNo values it can set, and at each
// StepNo the buttons that may be visible besides those visible from the start.
struct Allowed {
    bool scripted = false;
    std::set<int> steps;
    std::map<int, Buttons> shown;
};

// Widens `shown` until no click adds a StepNo or a button to it. `clicks` calls
// reach(step, buttons) for every click possible at `step` with `visible` shown.
template <typename Clicks> void settle(std::map<int, Buttons>& shown, int start, Clicks clicks)
{
    shown[start];
    bool changed = true;
    auto reach = [&](int step, const Buttons& buttons) {
        auto [it, fresh] = shown.try_emplace(step);
        const std::size_t before = it->second.size();
        it->second.insert(buttons.begin(), buttons.end());
        changed = changed || fresh || it->second.size() != before;
    };
    while (changed) {
        changed = false;
        const std::map<int, Buttons> known = shown;
        for (const auto& [step, visible] : known)
            clicks(step, visible, reach);
    }
}

Allowed lessonRules(const LessonProfile& profile)
{
    const LessonScript& script = profile.script();
    Allowed allowed;
    allowed.scripted = true;
    allowed.steps.insert(0);
    for (const StepTransition& row : script.rows)
        allowed.steps.insert(row.to);

    auto apply = [](Buttons visible, const std::vector<Effect>& effects) {
        for (const Effect& e : effects) {
            for (int k : e.choices) {
                if (e.kind == EffectKind::ShowChoices)
                    visible.insert(LessonScreen::answerButton(k));
                else if (e.kind == EffectKind::HideChoices)
                    visible.erase(LessonScreen::answerButton(k));
            }
        }
        return visible;
    };

    settle(allowed.shown, 0, [&](int step, const Buttons& visible, auto reach) {
        // Every click the screen takes: Talk, Teacher and each visible answer button.
        std::vector<Trigger> triggers{Talk, Teacher};
        for (int k = 1; k <= profile.choiceCount(); ++k) {
            if (visible.count(LessonScreen::answerButton(k)))
                triggers.push_back(Answer(k));
        }
        for (const Trigger trigger : triggers) {
            const LessonTurn turn = lessonTurn(script, profile.choiceCount(), step, trigger);
            Buttons after = turn.hidesAnswers ? Buttons{} : visible;
            for (const std::vector<int>* choices : turn.shows) {
                for (int k : *choices)
                    after.insert(LessonScreen::answerButton(k));
            }
            if (turn.row)
                reach(turn.row->to, apply(after, turn.row->effects));
            else
                reach(step, after);
        }
        // The way back hides every answer button.
        reach(step >= profile.backResetsFrom ? 0 : step, {});
    });
    return allowed;
}

// One click on the game screen as its script has it: the StepNo it leads to, with
// `visible` brought up to date.
struct GameClicks {
    GameTurns turns{gameScript()};

    int click(GameTrigger trigger, int step, Buttons& visible) const
    {
        auto set = [&](const std::string& button, bool show) {
            if (show)
                visible.insert(button);
            else
                visible.erase(button);
        };
        const GameTurn turn = turns.turn(step, trigger);
        if (turn.hidesAnswers) {
            for (int k = 1; k <= 4; ++k)
                set(GameScreen::buttonName(GameAnswer(k)), false);
        }
        for (const GameRule* rule : turn.rules) {
            for (const Effect& e : rule->effects) {
                for (int k : e.choices)
                    set(GameScreen::buttonName(GameAnswer(k)), e.kind == EffectKind::ShowChoices);
                if (e.kind == EffectKind::ShowAgain || e.kind == EffectKind::HideAgain)
                    set(GameScreen::buttonName(GameTrigger::Again),
                        e.kind == EffectKind::ShowAgain);
                if (e.kind == EffectKind::ShowMove || e.kind == EffectKind::HideMove)
                    set(GameScreen::buttonName(GameTrigger::Move), e.kind == EffectKind::ShowMove);
            }
        }
        return GameTurns::stepAfter(turn, step);
    }
};

Allowed gameRules()
{
    Allowed allowed;
    allowed.scripted = true;
    allowed.steps.insert(0);
    for (const GameRule& rule : gameScript().rules) {
        if (rule.to)
            allowed.steps.insert(*rule.to);
    }
    const GameClicks game;
    settle(allowed.shown, 0, [&](int step, const Buttons& visible, auto reach) {
        for (GameTrigger t : kGameTriggers) {
            const bool always = t == GameTrigger::Talk || t == GameTrigger::Partner;
            if (!always && !visible.count(GameScreen::buttonName(t)))
                continue;
            Buttons after = visible;
            const int next = game.click(t, step, after);
            reach(next, after);
        }
        reach(0, {}); // the way back
    });
    return allowed;
}

Allowed quizRulesAllowed()
{
    Allowed allowed;
    allowed.scripted = true;
    allowed.steps.insert(1);
    for (const QuizRule& rule : quizRules())
        allowed.steps.insert(rule.to);
    return allowed;
}

std::vector<std::string> screenNames()
{
    std::vector<std::string> names{"Form1", "Form20", "Form2"};
    for (const LessonProfile& profile : lessonProfiles())
        names.push_back(profile.screen);
    names.push_back("Form17");
    names.push_back("Form18");
    return names;
}

// Buttons that leave their screen; the walk takes them seldom, to get deep into each.
bool leaves(const std::string& screen, const std::string& button)
{
    if (lessonProfile(screen) != nullptr || screen == "Form17")
        return button == "Command3";
    return (screen == "Form18" && button == "Command7") ||
           (screen == "Form2" && button == "Command1");
}

// The game's steps from which the story can still reach its end without a game over.
std::set<int> hopefulGameSteps(const GameClicks& game)
{
    std::set<int> steps;
    for (const GameRule& rule : gameScript().rules) {
        steps.insert(rule.from.low);
        if (rule.to)
            steps.insert(*rule.to);
    }
    std::set<int> hopeful{gameScript().story.endStep};
    for (bool grew = true; grew;) {
        grew = false;
        for (int step : steps) {
            if (hopeful.count(step) || gameScript().story.isGameOver(step))
                continue;
            for (GameTrigger t : kGameTriggers) {
                Buttons ignored;
                if (hopeful.count(game.click(t, step, ignored))) {
                    hopeful.insert(step);
                    grew = true;
                    break;
                }
            }
        }
    }
    return hopeful;
}

// Whether a click is a wrong answer: one that ends the quiz run, or one after
// which the game cannot go on without a game over. The walk gives those seldom,
// like a learner who mostly knows.
bool wrongAnswer(const Screen& screen, const std::string& button)
{
    const int step = screen.step().value_or(0);
    if (screen.name() == "Form17") {
        static const GameClicks game;
        static const std::set<int> hopeful = hopefulGameSteps(game);
        for (GameTrigger t : kGameTriggers) {
            Buttons ignored;
            if (isAnswer(t) && GameScreen::buttonName(t) == button)
                return hopeful.count(step) && !hopeful.count(game.click(t, step, ignored));
        }
    }
    if (screen.name() == "Form18" && button != "Command7") {
        const QuizRule* rule = quizTurn(step, button);
        return rule != nullptr && rule->from == AnyStep;
    }
    return false;
}

struct Rules {
    std::map<std::string, Allowed> allowed;
    std::map<std::string, Buttons> fromStart; // buttons visible on a fresh screen
};

Rules rules()
{
    Rules r;
    Navigator probe(QUILLORY_BUILD_DIR);
    defineScreens(probe);
    for (const std::string& name : screenNames()) {
        probe.showForm(name);
        for (const Control& c : probe.screen(name)->controls()) {
            if (c.kind == ControlKind::Button && c.visible)
                r.fromStart[name].insert(c.name);
        }
        r.allowed[name];
    }
    for (const LessonProfile& profile : lessonProfiles())
        r.allowed[profile.screen] = lessonRules(profile);
    r.allowed["Form17"] = gameRules();
    r.allowed["Form18"] = quizRulesAllowed();
    return r;
}

// What is wrong with one created screen and its window; empty when nothing. A
// hidden screen keeps its state, so its buttons must obey the rules too.
std::string screenProblems(const Screen& screen, const ScreenWindow* window, const Rules& rules)
{
    // The review and the record are the program's own, beside the script.
    if (!rules.allowed.count(screen.name()))
        return window == nullptr ? screen.name() + " has no window" : std::string();
    const Allowed& allowed = rules.allowed.at(screen.name());
    const std::optional<int> step = screen.step();
    if (step.has_value() != allowed.scripted || (step && !allowed.steps.count(*step)))
        return screen.name() + " has StepNo " + (step ? std::to_string(*step) : "none") +
               ", which its script never sets";
    if (window == nullptr)
        return screen.name() + " has no window";
    const Buttons& fromStart = rules.fromStart.at(screen.name());
    const auto shown = allowed.shown.find(step.value_or(0));
    for (const Control& c : screen.controls()) {
        const QWidget* widget = window->controlWidget(c.name);
        const std::string at =
            screen.name() + " " + c.name + " at step " + std::to_string(step.value_or(0));
        if (widget == nullptr)
            return at + " has no widget";
        if (widget->isHidden() == c.visible)
            return at + ": widget and model disagree on its visibility";
        if (c.kind != ControlKind::Button || c.addition)
            continue;
        if (fromStart.count(c.name)) {
            if (!c.visible)
                return at + " is hidden, though always shown";
        } else if (c.visible && (shown == allowed.shown.end() || !shown->second.count(c.name))) {
            return at + " is visible, but no rule shows it there";
        }
    }
    return {};
}

// What is wrong with the program as the widgets show it; empty when nothing.
std::string problems(Replay& replay, const Rules& rules)
{
    AppView& view = replay.view();
    int windows = 0;
    for (QWidget* w : QApplication::allWidgets()) {
        if (qobject_cast<ScreenWindow*>(w) != nullptr && w->isVisible())
            ++windows;
    }
    int screens = 0;
    for (const auto& screen : view.navigator().screens()) {
        screens += screen->visible() ? 1 : 0;
        const std::string wrong = screenProblems(*screen, view.window(screen->name()), rules);
        if (!wrong.empty())
            return wrong;
    }
    if (view.ended())
        return windows == 0 && screens == 0 && view.visibleWindow() == nullptr
                   ? std::string()
                   : "a window is still shown after the end";
    const ScreenWindow* window = view.visibleWindow();
    if (windows != 1 || screens != 1 || window == nullptr || !window->isVisible())
        return std::to_string(windows) + " windows and " + std::to_string(screens) +
               " screens are visible";
    return {};
}

std::size_t heapInUse()
{
#ifdef QUILLORY_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

bool isError(const std::optional<std::string>& out)
{
    return out && out->rfind("{\"error\": ", 0) == 0;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void rulesCoverTheScripts()
    {
        // The expectations themselves: every screen has its StepNo values, the
        // answer buttons of a lesson with questions can be shown, and the game's
        // retry and move buttons can be too.
        const Rules r = rules();
        QCOMPARE(r.allowed.size(), screenNames().size());
        QVERIFY(r.allowed.at("Form3").steps.size() > 10);
        Buttons lesson;
        for (const auto& [step, buttons] : r.allowed.at("Form3").shown)
            lesson.insert(buttons.begin(), buttons.end());
        QCOMPARE(lesson, (Buttons{"Command4", "Command5", "Command6"}));
        Buttons game;
        for (const auto& [step, buttons] : r.allowed.at("Form17").shown)
            game.insert(buttons.begin(), buttons.end());
        QVERIFY(game.count("Command8") && game.count("Command9") && game.count("Command7"));
        QVERIFY(r.allowed.at("Form17").shown.count(gameScript().story.endStep));
        QVERIFY(r.allowed.at("Form18").steps.count(21));
        QVERIFY(!r.allowed.at("Form20").scripted);
        QCOMPARE(r.fromStart.at("Form17"), (Buttons{"Command1", "Command2", "Command3"}));
    }

    void randomClicksKeepTheRules()
    {
        const Rules r = rules();
        std::mt19937 random(static_cast<std::mt19937::result_type>(gSeed));
        auto chance = [&](double p) { return std::uniform_real_distribution<>(0, 1)(random) < p; };
        auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };

        Replay replay(QUILLORY_BUILD_DIR);
        std::deque<std::string> recent; // the last commands, to replay a failure by hand
        auto run = [&](const std::string& command) {
            recent.push_back(command);
            if (recent.size() > 12)
                recent.pop_front();
            return replay.execute(command);
        };
        auto where = [&](long click, const std::string& what) {
            std::string text = "seed " + std::to_string(gSeed) + ", click " +
                               std::to_string(click) + ": " + what + "; last commands:";
            for (const std::string& c : recent)
                text += " [" + c + "]";
            return text;
        };

        std::map<std::string, long> visits;
        std::map<std::string, std::set<int>> stepsSeen;
        long restarts = 0, ends = 0, refused = 0;
        std::string shownBefore = "Form1";
        bool longVisit = false;
        int idle = 0; // clicks in a row that changed nothing
        visits["Form1"] = 1;
        for (long click = 0; click < gClicks; ++click) {
            if (chance(1.0 / 2000)) {
                QVERIFY2(!isError(run("restart")), where(click, "restart failed").c_str());
                const std::string wrong = problems(replay, r);
                QVERIFY2(wrong.empty(), where(click, wrong).c_str());
                ++restarts;
                shownBefore.clear();
            }
            ScreenWindow* window = replay.view().visibleWindow();
            if (window == nullptr) {
                // Ended: every click is refused, and a restart begins again.
                QVERIFY2(replay.view().ended(), where(click, "no window shown").c_str());
                QVERIFY2(isError(run("click C1")), where(click, "click after end").c_str());
                QVERIFY(!isError(run("restart")));
                ++restarts;
                continue;
            }
            const Screen& screen = window->model();
            const std::string name = screen.name();

            std::string control;
            if (chance(0.1)) {
                // A hidden button, a box, a label, or a name the screen lacks.
                std::vector<std::string> others{"Command99"};
                for (const Control& c : screen.controls()) {
                    if (c.kind != ControlKind::Button || !c.visible)
                        others.push_back(c.name);
                }
                control = others[pick(others.size())];
            } else if (name == "Form20" && chance(0.5)) {
                // The menu opens the screen seen least so far.
                const MenuEntry* least = nullptr;
                for (const MenuEntry& e : MenuScreen::entries()) {
                    if (!e.opens.empty() && (!least || visits[e.opens] < visits[least->opens]))
                        least = &e;
                }
                control = least->button;
            } else {
                // Wrong answers and ways out are rare; on a long visit ways out are rarer
                // still, until clicks stop changing anything.
                std::vector<std::string> buttons;
                std::vector<double> weights;
                for (const Control& c : screen.controls()) {
                    if (c.kind != ControlKind::Button || !c.visible)
                        continue;
                    buttons.push_back(c.name);
                    weights.push_back(leaves(name, c.name) ? (longVisit && idle < 20 ? 0.025 : 1.0)
                                      : wrongAnswer(screen, c.name) ? 1.0
                                                                    : 10.0);
                }
                control = buttons.empty() ? screen.controls().front().name
                                          : buttons[std::discrete_distribution<std::size_t>(
                                                weights.begin(), weights.end())(random)];
            }

            const QWidget* widget = window->controlWidget(control);
            const bool clickable = widget != nullptr && !widget->isHidden();
            const bool live = screen.live(control);
            const std::string before = replay.state();
            const std::optional<std::string> out = run("click " + control);
            if (!clickable) {
                QVERIFY2(isError(out), where(click, "a hidden control took a click").c_str());
                QVERIFY2(replay.state() == before,
                         where(click, "a refused click changed the state").c_str());
                ++refused;
            } else {
                QVERIFY2(out && out->rfind("{\"ended\": ", 0) == 0,
                         where(click, "no state after a click: " + out.value_or("")).c_str());
                idle = *out == before ? idle + 1 : 0;
                // A live button changes what the program shows; any other does not.
                // Writing out and reading in the record act on files: done again, or
                // with nothing to read, they may show what was there.
                const bool onFiles =
                    name == "Record" && (control == "Export" || control == "Import");
                QVERIFY2(live == (*out != before) || (onFiles && live),
                         where(click, control + (live ? " is live but changed nothing"
                                                      : " is not live but changed the state"))
                             .c_str());
            }

            const std::string wrong = problems(replay, r);
            QVERIFY2(wrong.empty(), where(click, wrong).c_str());
            if (replay.view().ended()) {
                ++ends;
                shownBefore.clear();
                continue;
            }
            const Screen& now = replay.view().visibleWindow()->model();
            if (now.name() != shownBefore) {
                ++visits[now.name()];
                longVisit = chance(0.5);
                idle = 0;
            }
            shownBefore = now.name();
            if (now.step())
                stepsSeen[now.name()].insert(*now.step());
        }

        std::string summary = std::to_string(gClicks) + " clicks, seed " + std::to_string(gSeed) +
                              ": " + std::to_string(restarts) + " restarts, " +
                              std::to_string(ends) + " ends, " + std::to_string(refused) +
                              " refused; StepNo values reached:";
        for (const std::string& screen : screenNames()) {
            if (r.allowed.at(screen).scripted)
                summary += " " + screen + " " + std::to_string(stepsSeen[screen].size()) + "/" +
                           std::to_string(r.allowed.at(screen).steps.size());
        }
        qInfo("%s", summary.c_str());
        for (const std::string& screen : screenNames())
            QVERIFY2(visits[screen] > 0, (screen + " was never shown").c_str());
    }

    void heapStaysFlatOverRestarts()
    {
        // Each restart goes to the menu, into one of its screens in turn, clicks
        // twice there, and starts the program again.
        Replay replay(QUILLORY_BUILD_DIR);
        std::vector<std::string> entries;
        for (const MenuEntry& e : MenuScreen::entries()) {
            if (!e.opens.empty())
                entries.push_back(e.button);
        }
        auto restarts = [&](long count) {
            for (long i = 0; i < count; ++i) {
                replay.execute("click C1");
                replay.execute("click " + entries[static_cast<std::size_t>(i) % entries.size()]);
                replay.execute("click Command1");
                replay.execute("click Command2");
                replay.execute("restart");
            }
        };
        // Fonts, glyphs and the like fill up once; then nothing may grow.
        restarts(static_cast<long>(entries.size()) * 4);
        const std::size_t heap = heapInUse();
        const long resident = residentKiB();
        restarts(gRestarts);
        const long grown = static_cast<long>(heapInUse()) - static_cast<long>(heap);
        qInfo("%ld restarts: heap in use %+ld bytes, resident %ld -> %ld KiB", gRestarts, grown,
              resident, residentKiB());
        QVERIFY2(grown < 256 * 1024, qPrintable(QString("heap grew by %1 bytes").arg(grown)));
#ifndef QUILLORY_ASAN
        QVERIFY2(residentKiB() - resident < 8 * 1024, "resident memory grew by 8 MiB or more");
#endif
    }
};

int main(int argc, char* argv[])
{
    // Our options out, QTest's left in.
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 < argc && (arg == "--clicks" || arg == "--restarts" || arg == "--seed")) {
            const char* value = argv[++i];
            char* end = nullptr;
            const unsigned long number = std::strtoul(value, &end, 10);
            if (end == value || *end != '\0') {
                std::fprintf(stderr, "%s needs a number, not %s\n", argv[i - 1], value);
                return 2;
            }
            if (arg == "--clicks")
                gClicks = static_cast<long>(number);
            else if (arg == "--restarts")
                gRestarts = static_cast<long>(number);
            else
                gSeed = number;
            continue;
        }
        rest.push_back(argv[i]);
    }
    int count = static_cast<int>(rest.size());
    rest.push_back(nullptr);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A long soak outlasts QTest's five-minute watchdog.
    if (qEnvironmentVariableIsEmpty("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "86400000");
    QApplication app(count, rest.data());
    QApplication::setQuitOnLastWindowClosed(false);
    applyLook(app);
    SoakTest test;
    return QTest::qExec(&test, count, rest.data());
}

#include "view_soak_test.moc"
