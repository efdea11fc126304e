// The lesson screen's turn engine, its way back, and the fourteen lesson screens.
#include "app/navigator.h"
#include "app/picture_assets.h"
#include "app/screens.h"
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"

#include "tests/lesson_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillory {
namespace {

// The navigator behind a screen's host, for test screens that look at other screens.
Navigator& asNavigator(ScreenHost& host)
{
    return static_cast<Navigator&>(host);
}

namespace fs = std::filesystem;

const std::string kGreeting = "こんにちは。";
const std::string kGreetingAfterBack = "もう一度どうぞ。";

// A way-back screen that notes whether the lesson was still on view when it was created.
class HomeScreen : public Screen {
public:
    HomeScreen(Navigator& nav, std::string name, std::string lesson, std::string& seen)
        : Screen(nav, std::move(name), "home", 4000, 3000, {0, 0, 0}), lesson_(std::move(lesson)),
          seen_(seen)
    {
        add(makeButton("Go", "go", {0, 0, 1000, 375}));
    }
    void load() override
    {
        Screen* lesson = asNavigator(host()).screen(lesson_);
        seen_ = lesson != nullptr && lesson->visible() ? "lesson visible" : "lesson hidden";
    }

protected:
    void onClick(std::string_view control) override
    {
        if (control == "Go") {
            asNavigator(host()).hideForm(name());
            asNavigator(host()).showForm(lesson_);
        }
    }

private:
    std::string lesson_;
    std::string& seen_;
};

LessonScript table(std::vector<StepTransition> rows)
{
    LessonScript s;
    s.rows = std::move(rows);
    return s;
}

LessonProfile testProfile(int choices = 3)
{
    LessonProfile p;
    p.screen = "Lesson";
    p.caption = "test lesson";
    p.background = {1, 2, 3};
    p.talkCaption = "talk";
    p.backCaption = "back";
    p.pictureControl = "P1";
    const std::vector<int> lefts{3840, 4680, 5520, 6360, 7000};
    p.choiceLefts.assign(lefts.begin(), lefts.begin() + choices);
    p.teacherPicture = "gal1.bmp";
    p.greeting = kGreeting;
    p.greetingAfterBack = kGreetingAfterBack;
    p.backTo = "Home";
    return p;
}

// A navigator with the lesson under test and a way-back screen; the lesson is shown.
struct Bench {
    Bench(const LessonProfile& profile, const LessonScript& script) : nav(fs::temp_directory_path())
    {
        nav.define(profile.screen, [&profile, &script](ScreenHost& n) {
            return std::make_unique<LessonScreen>(n, profile, script);
        });
        nav.define(profile.backTo, [this, &profile](ScreenHost& n) {
            return std::make_unique<HomeScreen>(asNavigator(n), profile.backTo, profile.screen,
                                                homeSeen);
        });
        nav.start(profile.screen);
        lesson = dynamic_cast<LessonScreen*>(nav.screen(profile.screen));
    }

    int step() const { return lesson->step().value_or(-99); }
    const std::string& text() const { return lesson->control("T1").text; }
    // Which answer buttons are on view, as "1,2" (or "-").
    std::string shown() const
    {
        std::string out;
        for (int k = 1; k <= lesson->profile().choiceCount(); ++k) {
            if (lesson->control(LessonScreen::answerButton(k)).visible)
                out += (out.empty() ? "" : ",") + std::to_string(k);
        }
        return out.empty() ? "-" : out;
    }
    const Control& picture() const { return lesson->control(lesson->profile().pictureControl); }
    void talk() { nav.click("Command1"); }
    void teacher() { nav.click("Command2"); }
    void answer(int k) { nav.click(LessonScreen::answerButton(k)); }

    Navigator nav;
    std::string homeSeen;
    LessonScreen* lesson = nullptr;
};

TEST(LessonEngine, WriteLinesLayout)
{
    EXPECT_EQ(writeLinesText({}), "");
    EXPECT_EQ(writeLinesText({"X"}), "\r\nX");
    EXPECT_EQ(writeLinesText({"A", "B"}), "\r\nA\r\n\r\nB");
    EXPECT_EQ(writeLinesText({"L1", "L2", "L3"}), "\r\nL1\r\n\r\nL2\r\n\r\nL3");
    EXPECT_EQ(writeLinesText({""}), "\r\n");
    EXPECT_EQ(writeLinesText({"", ""}), "\r\n\r\n\r\n");
    EXPECT_EQ(writeLinesText({"A", "", "B"}), "\r\nA\r\n\r\n\r\n\r\nB");
    // Leading spaces, ideographic spaces and long lines are kept as they are.
    EXPECT_EQ(writeLinesText({"  S V", "　　＜　完　＞ ", std::string(300, 'w')}),
              "\r\n  S V\r\n\r\n　　＜　完　＞ \r\n\r\n" + std::string(300, 'w'));
}

TEST(LessonEngine, ScreenAtCreation)
{
    const LessonProfile profile = testProfile(4);
    const LessonScript script;
    Bench b(profile, script);
    ASSERT_NE(b.lesson, nullptr);
    EXPECT_EQ(b.step(), 0);
    EXPECT_EQ(b.text(), kGreeting);
    EXPECT_EQ(b.picture().picture, "gal1.bmp");
    EXPECT_EQ(b.picture().pictureLoads, 1u);
    EXPECT_EQ(b.shown(), "-");
    // Nothing in an empty script does anything, Back aside.
    b.talk();
    b.teacher();
    EXPECT_EQ(b.step(), 0);
    EXPECT_EQ(b.text(), kGreeting);
}

// A walk through every row form: parity of Talk and Teacher, answer rows, repeatable
// rows, one row per click, buttons without a row.
TEST(LessonEngine, DispatchWalkthrough)
{
    const LessonProfile profile = testProfile();
    const LessonScript script = table({
        {0, Talk, {SetText("T0")}, 2},
        {2, Talk, {SetText("T2")}, 3},
        {3, Talk, {SetText("Talk at an odd step")}, 4},
        {3, Teacher, {WriteLines({"a"})}, 4},
        {4, Teacher, {SetText("Teacher at an even step")}, 5},
        {4, Talk, {ShowChoices({1, 2, 3}), WriteLines({"Q1", "Q2", "Q3"})}, 5},
        {5, Answer(1), {SetText("wrong")}, 5},
        {5, Answer(2), {SetText("right"), ShowPicture("bun1.bmp")}, 7},
        {7, Answer(1), {SetText("chained")}, 8},
        {7,
         Teacher,
         {HideChoices({1, 2, 3}), WriteLines({"", "  x", "　y", ""}), ShowPicture("bun1.bmp")},
         8},
        {8, Talk, {SetText("thanks")}, 8},
    });
    Bench b(profile, script);

    b.teacher(); // no Teacher at 0
    EXPECT_EQ(b.step(), 0);
    EXPECT_EQ(b.text(), kGreeting);

    b.talk(); // one row only, though its To has a Talk row too
    EXPECT_EQ(b.text(), "T0");
    EXPECT_EQ(b.step(), 2);
    b.teacher();
    EXPECT_EQ(b.step(), 2);
    b.talk();
    EXPECT_EQ(b.text(), "T2");
    EXPECT_EQ(b.step(), 3);

    b.talk(); // odd: Talk does nothing even with a row
    EXPECT_EQ(b.text(), "T2");
    EXPECT_EQ(b.step(), 3);
    b.teacher();
    EXPECT_EQ(b.text(), "\r\na");
    EXPECT_EQ(b.step(), 4);

    b.teacher(); // even: Teacher does nothing even with a row
    EXPECT_EQ(b.text(), "\r\na");
    EXPECT_EQ(b.step(), 4);
    b.talk();
    EXPECT_EQ(b.text(), "\r\nQ1\r\n\r\nQ2\r\n\r\nQ3");
    EXPECT_EQ(b.shown(), "1,2,3");
    EXPECT_EQ(b.step(), 5);

    // The question waits: Talk, Teacher and answer 3 have no row here.
    b.talk();
    b.teacher();
    b.answer(3);
    EXPECT_EQ(b.step(), 5);
    EXPECT_EQ(b.text(), "\r\nQ1\r\n\r\nQ2\r\n\r\nQ3");
    EXPECT_EQ(b.shown(), "1,2,3");

    b.answer(1); // a row that keeps its step runs again and again
    EXPECT_EQ(b.step(), 5);
    b.lesson->setText("T1", "");
    b.answer(1);
    EXPECT_EQ(b.text(), "wrong");
    EXPECT_EQ(b.step(), 5);

    b.answer(2); // to 7, and answer 2 has nothing more to do in the same click
    EXPECT_EQ(b.text(), "right");
    EXPECT_EQ(b.step(), 7);
    EXPECT_EQ(b.picture().picture, "bun1.bmp");
    EXPECT_EQ(b.picture().pictureLoads, 2u);
    EXPECT_EQ(b.shown(), "1,2,3");

    b.teacher(); // the same picture again is loaded again
    EXPECT_EQ(b.text(), "\r\n\r\n\r\n  x\r\n\r\n　y\r\n\r\n");
    EXPECT_EQ(b.picture().pictureLoads, 3u);
    EXPECT_EQ(b.shown(), "-");
    EXPECT_EQ(b.step(), 8);

    b.answer(1); // hidden buttons cannot be clicked
    EXPECT_EQ(b.step(), 8);
    b.talk();
    b.talk();
    EXPECT_EQ(b.text(), "thanks");
    EXPECT_EQ(b.step(), 8);
    EXPECT_EQ(b.homeSeen, "");
}

TEST(LessonEngine, AnswersFromAndTheHidingPrelude)
{
    const LessonProfile profile = testProfile();
    LessonScript script = table({
        {0, Talk, {ShowChoices({1, 2, 3}), SetText("q0")}, 1},
        {1, Answer(1), {SetText("too early")}, 2},
        {1, Teacher, {SetText("t1")}, 3},
        {3, Answer(1), {SetText("a3")}, 4},
        {4, Talk, {SetText("t4")}, 5},
        {5, Answer(2), {SetText("a5"), ShowChoices({3})}, 6},
        {6, Talk, {ShowChoices({1, 2, 3})}, 7},
    });
    script.answersFrom = 3;
    script.answerHideFrom = 5;
    Bench b(profile, script);

    b.talk();
    ASSERT_EQ(b.shown(), "1,2,3");
    b.answer(1); // below answersFrom the row is not run
    EXPECT_EQ(b.text(), "q0");
    EXPECT_EQ(b.step(), 1);
    EXPECT_EQ(b.shown(), "1,2,3");

    b.teacher();
    b.answer(2); // no row at 3, below the prelude: nothing at all
    EXPECT_EQ(b.text(), "t1");
    EXPECT_EQ(b.shown(), "1,2,3");
    b.answer(1);
    EXPECT_EQ(b.text(), "a3");
    EXPECT_EQ(b.step(), 4);
    EXPECT_EQ(b.shown(), "1,2,3");

    b.talk();
    b.answer(2); // prelude hides all three, then the row shows 3 again
    EXPECT_EQ(b.text(), "a5");
    EXPECT_EQ(b.shown(), "3");
    EXPECT_EQ(b.step(), 6);

    b.talk();
    ASSERT_EQ(b.shown(), "1,2,3");
    b.answer(1); // no row at 7: the prelude is all the click does
    EXPECT_EQ(b.shown(), "-");
    EXPECT_EQ(b.text(), "a5");
    EXPECT_EQ(b.step(), 7);
}

TEST(LessonEngine, TalkShowsChoicesOverItsRangesFirst)
{
    const LessonProfile profile = testProfile();
    LessonScript script = table({
        {0, Talk, {SetText("t0")}, 1},
        {1, Teacher, {SetText("t1")}, 4},
        {4, Talk, {HideChoices({1}), SetText("t4")}, 5},
        {5, Teacher, {HideChoices({1, 2})}, 7},
        {7, Teacher, {SetText("t7")}, 8},
        {8, Answer(2), {HideChoices({1, 2}), SetText("a8")}, 10},
        {10, Talk, {SetText("t10")}, 10},
    });
    script.talkShowChoices = {{4, 8, {1, 2}}};
    Bench b(profile, script);

    b.talk(); // 0 is outside the range
    EXPECT_EQ(b.shown(), "-");
    b.teacher();
    ASSERT_EQ(b.step(), 4);
    b.talk(); // shown first, so the row's HideChoices 1 comes after it
    EXPECT_EQ(b.shown(), "2");
    EXPECT_EQ(b.text(), "t4");
    b.teacher();
    ASSERT_EQ(b.step(), 7);
    b.talk(); // odd, inside the range: Talk does nothing
    EXPECT_EQ(b.shown(), "-");
    EXPECT_EQ(b.step(), 7);
    b.teacher();
    ASSERT_EQ(b.step(), 8);
    b.talk(); // even, inside the range, no row: the buttons appear and that is all
    EXPECT_EQ(b.shown(), "1,2");
    EXPECT_EQ(b.text(), "t7");
    EXPECT_EQ(b.step(), 8);
    b.answer(2);
    ASSERT_EQ(b.step(), 10);
    b.talk(); // above the range
    EXPECT_EQ(b.shown(), "-");
    EXPECT_EQ(b.text(), "t10");
}

TEST(LessonEngine, AnyOtherAnswerRowsAndIgnoredSteps)
{
    const LessonProfile profile = testProfile();
    LessonScript script = table({
        {0, Talk, {ShowChoices({1, 2, 3}), SetText("q")}, 1},
        {1, Answer(1), {SetText("right 1")}, 3},
        {AnyOther, Answer(1), {SetText("wrong 1")}, 6},
        {AnyOther, Answer(2), {SetText("wrong 2")}, 6},
        {3, Answer(3), {SetText("right 3")}, 6},
        {AnyOther, Answer(3), {SetText("wrong 3")}, 1},
    });
    script.answerIgnores = {{1, {6}}, {2, {6, 8}}};
    Bench b(profile, script);

    b.talk();
    b.answer(2);
    EXPECT_EQ(b.text(), "wrong 2");
    EXPECT_EQ(b.step(), 6);
    b.answer(1); // ignored at 6
    EXPECT_EQ(b.text(), "wrong 2");
    EXPECT_EQ(b.step(), 6);
    b.lesson->setText("T1", "marker");
    b.answer(2);
    EXPECT_EQ(b.text(), "marker");
    EXPECT_EQ(b.step(), 6);
    b.answer(3); // answer 3 is not ignored there
    EXPECT_EQ(b.text(), "wrong 3");
    EXPECT_EQ(b.step(), 1);
    b.answer(1); // its own row comes before the AnyOther row
    EXPECT_EQ(b.text(), "right 1");
    EXPECT_EQ(b.step(), 3);
    b.answer(1); // and the AnyOther row does not follow in the same click
    EXPECT_EQ(b.text(), "wrong 1");
    EXPECT_EQ(b.step(), 6);
    b.answer(3);
    b.answer(1);
    b.answer(3);
    EXPECT_EQ(b.text(), "right 3");
    EXPECT_EQ(b.step(), 6);
    EXPECT_EQ(b.shown(), "1,2,3");
}

TEST(LessonEngine, BackResetsAndShowsTheWayBackFirst)
{
    const LessonProfile profile = testProfile();
    const LessonScript script = table({
        {0, Talk, {ShowChoices({1, 2, 3}), ShowPicture("bun1.bmp"), SetText("x")}, 0},
        {0, Answer(1), {SetText("y")}, 3},
        {3, Teacher, {SetText("z")}, 4},
    });
    Bench b(profile, script);

    // Back at step 0 still hides the buttons and puts back the picture and greeting.
    b.talk();
    ASSERT_EQ(b.shown(), "1,2,3");
    ASSERT_EQ(b.step(), 0);
    b.nav.click("Command3");
    EXPECT_EQ(b.homeSeen, "lesson visible"); // ShowForm came before HideForm
    EXPECT_FALSE(b.lesson->visible());
    ASSERT_NE(b.nav.visibleScreen(), nullptr);
    EXPECT_EQ(b.nav.visibleScreen()->name(), "Home");
    EXPECT_EQ(b.step(), 0);
    EXPECT_EQ(b.shown(), "-");
    EXPECT_EQ(b.picture().picture, "gal1.bmp");
    EXPECT_EQ(b.picture().pictureLoads, 3u);
    EXPECT_EQ(b.text(), kGreetingAfterBack);

    // Back from the middle of the lesson.
    b.nav.click("Go");
    b.talk();
    b.answer(1);
    b.teacher();
    ASSERT_EQ(b.step(), 4);
    b.nav.click("Command3");
    EXPECT_EQ(b.step(), 0);
    EXPECT_EQ(b.shown(), "-");
    EXPECT_EQ(b.text(), kGreetingAfterBack);
    EXPECT_EQ(b.picture().picture, "gal1.bmp");
    b.nav.click("Go");
    EXPECT_EQ(b.nav.created(), (std::vector<std::string>{"Lesson", "Home"}));
    EXPECT_EQ(b.text(), kGreetingAfterBack);
    b.talk();
    EXPECT_EQ(b.text(), "x");
}

TEST(LessonEngine, CheckFlagsEachKindOfBadTable)
{
    const LessonProfile profile = testProfile();
    const std::vector<std::string> pictures{"gal1.bmp", "bun1.bmp"};
    const auto check = [&](const LessonScript& s) {
        return checkLessonScript(profile, s, pictures);
    };

    LessonScript sound = table({
        {0, Talk, {ShowChoices({1, 2, 3}), WriteLines({"q", ""})}, 1},
        {1, Answer(3), {HideChoices({1, 2, 3}), ShowPicture("bun1.bmp"), SetText("ok")}, 2},
        {AnyOther, Answer(1), {SetText("no")}, 0},
        {1, Teacher, {SetText("t")}, 1},
    });
    sound.rightAnswers = {{1, 3}};
    EXPECT_TRUE(check(sound).empty());

    // One bad row at a time, each reported once.
    const std::vector<std::vector<StepTransition>> bad{
        {{1, Talk, {SetText("odd")}, 2}},
        {{2, Teacher, {SetText("even")}, 3}},
        {{0, Talk, {SetText("a")}, 1}, {0, Talk, {SetText("b")}, 1}},
        {{AnyOther, Answer(2), {SetText("a")}, 1}, {AnyOther, Answer(2), {SetText("b")}, 1}},
        {{0, Talk, {ShowChoices({1, 4})}, 1}},
        {{0, Talk, {HideChoices({0})}, 1}},
        {{1, Answer(4), {SetText("a")}, 2}},
        {{0, Talk, {ShowPicture("nowhere.bmp")}, 1}},
    };
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_EQ(check(table(bad[i])).size(), 1u) << "bad table " << i;
    LessonScript badRange;
    badRange.talkShowChoices = {{2, 4, {1, 5}}};
    EXPECT_EQ(check(badRange).size(), 1u);

    LessonProfile noTeacher = profile;
    noTeacher.teacherPicture = "missing.bmp";
    EXPECT_EQ(checkLessonScript(noTeacher, sound, pictures).size(), 1u);

    // The screen holds five answer buttons at most; an answer row below the step
    // answers start at is never run.
    LessonProfile six = profile;
    six.choiceLefts = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(checkLessonScript(six, sound, pictures).size(), 1u);
    LessonScript late = table({{1, Answer(1), {SetText("a")}, 2}});
    late.answersFrom = 3;
    EXPECT_EQ(check(late).size(), 1u);
}

TEST(LessonEngine, RealScriptTablesAreSound)
{
    const std::vector<std::string> problems = checkScripts();
    std::string all;
    for (const std::string& p : problems)
        all += p + "\n";
    EXPECT_TRUE(problems.empty()) << all;
}

// Every written line of every lesson fits the text box's width of about 35
// full-width columns, but for answer feedback quoted as it stands.
TEST(LessonEngine, EveryWrittenLineFitsTheTextBox)
{
    const std::vector<std::string> quotedLonger{
        "He(S) found(V) the book(O) easy(C). で「彼はその本が簡単だとわかった。」",
    };
    for (const LessonProfile& profile : lessonProfiles()) {
        for (const StepTransition& row : profile.script().rows) {
            for (const Effect& e : row.effects) {
                if (e.kind != EffectKind::WriteLines)
                    continue;
                for (const std::string& line : e.lines) {
                    const bool quoted = row.trigger.kind == TriggerKind::Answer &&
                                        std::find(quotedLonger.begin(), quotedLonger.end(), line) !=
                                            quotedLonger.end();
                    if (!quoted) {
                        EXPECT_LE(columns(line), 35.0)
                            << profile.screen << " row " << row.from << ": " << line;
                    }
                }
            }
        }
    }
}

// The fourteen lesson screens as designed.
struct ExpectedLesson {
    std::string screen;
    std::string menuButton;
    std::string caption;
    Rgb background;
    std::string talk;
    std::string back;
    std::string pictureControl;
    int textHeight;
    std::vector<int> choiceLefts;
    std::string teacher;
    std::string greeting;
    std::string greetingAfterBack; // empty: the same
    std::string backTo;
    bool keepsStep1;
};

const std::string kTalk = "話す/ 質問する";
const std::string kTalkSpaced = "話す / 質問する";
const std::string kEnd = "終　　　　　了";
const std::string kMenu = "メニューに戻る";
const std::vector<int> kThree{3840, 4680, 5520};
const std::vector<int> kFour{3840, 4680, 5520, 6360};
const std::vector<int> kFive{3840, 4440, 5040, 5640, 6240};

const std::vector<ExpectedLesson>& expectedLessons()
{
    static const std::vector<ExpectedLesson> kExpected{
        {"Form3",
         "C2",
         "＜１＞５文型 Part 1",
         {192, 255, 255},
         kTalk,
         kEnd,
         "Picture1",
         1695,
         kThree,
         "gal1.bmp",
         "私は、森岡　ハナです。よろしくね。では授業を始めましょう。",
         "",
         "Form1",
         false},
        {"Form4",
         "C3",
         "５文型Part 2",
         {192, 255, 255},
         kTalk,
         kEnd,
         "Picture1",
         1815,
         kThree,
         "gal1.bmp",
         "それでは、５文型 Part 2 の授業をはじめます。",
         "",
         "Form1",
         false},
        {"Form5",
         "C4",
         "５文型 Part 3",
         {192, 255, 255},
         kTalk,
         kEnd,
         "Picture1",
         1695,
         kThree,
         "gal1.bmp",
         "はい、それでは５文型 Part 3 の授業を始めます。",
         "",
         "Form1",
         false},
        {"Form6",
         "C5",
         "５文型 Part 4",
         {192, 255, 255},
         kTalk,
         kEnd,
         "Picture1",
         1695,
         kThree,
         "gal1.bmp",
         "はい、それでは５文型 Part 4 の授業を始めます。",
         "",
         "Form1",
         false},
        {"Form7",
         "C6",
         "５文型 Part 5",
         {192, 255, 255},
         kTalk,
         kEnd,
         "Picture1",
         1695,
         kFour,
         "gal1.bmp",
         "では、５文型 Part 5 の授業を始めます。",
         "",
         "Form1",
         false},
        {"Form8",
         "C8",
         "形容詞句",
         {255, 255, 224},
         kTalk,
         kMenu,
         "Picture1",
         1695,
         kFive,
         "gal2.bmp",
         "私は　辻　真弓です。では形容詞句の授業を始めましょう。",
         "",
         "Form20",
         false},
        {"Form9",
         "C9",
         "形容詞節 Part 1",
         {255, 255, 224},
         kTalkSpaced,
         kMenu,
         "P1",
         1695,
         kThree,
         "gal2.bmp",
         "では形容詞節 Part 1 の授業を始めましょう。",
         "",
         "Form20",
         false},
        {"Form10",
         "C10",
         "形容詞節 Part 2",
         {255, 255, 224},
         kTalk,
         kMenu,
         "P1",
         1695,
         kFour,
         "gal2.bmp",
         "それでは形容詞節 Part 2 の授業を始めます。",
         "",
         "Form20",
         false},
        {"Form11",
         "C11",
         "名詞句",
         {192, 255, 192},
         kTalkSpaced,
         kMenu,
         "P1",
         1695,
         kThree,
         "gal3.bmp",
         "私は浜田　和代。では名詞句の授業を始めます。",
         "",
         "Form20",
         false},
        {"Form12",
         "C12",
         "名詞節",
         {192, 255, 192},
         kTalkSpaced,
         kMenu,
         "P1",
         1695,
         kThree,
         "gal3.bmp",
         "それでは名詞節の授業をはじめます。",
         "それでは名詞節の授業を始めます。",
         "Form20",
         false},
        {"Form13",
         "C13",
         "副詞句",
         {255, 192, 255},
         kTalkSpaced,
         kMenu,
         "P1",
         1695,
         kThree,
         "gal2.bmp",
         "それでは副詞句の授業を始めます。",
         "",
         "Form20",
         false},
        {"Form14",
         "C14",
         "副詞節",
         {255, 192, 255},
         kTalkSpaced,
         kMenu,
         "P1",
         1695,
         kThree,
         "gal2.bmp",
         "それでは副詞節の授業を始めましょう。",
         "",
         "Form20",
         true},
        {"Form15",
         "C15",
         "仮定法",
         {0, 128, 128},
         kTalkSpaced,
         kMenu,
         "P1",
         1695,
         kThree,
         "gal1.bmp",
         "さあ、仮定法の授業を始めましょう。",
         "",
         "Form20",
         true},
        {"Form16",
         "C16",
         "分詞構文",
         {255, 192, 128},
         kTalkSpaced,
         kMenu,
         "P1",
         1695,
         kThree,
         "gal3.bmp",
         "さあ、分詞構文の授業を始めましょう。",
         "",
         "Form20",
         true},
    };
    return kExpected;
}

void expectDesign(const Screen& s, const ExpectedLesson& expected)
{
    EXPECT_EQ(s.caption(), expected.caption);
    EXPECT_EQ(s.width(), 7155);
    EXPECT_EQ(s.height(), 4305);
    EXPECT_EQ(s.background(), expected.background);
    EXPECT_EQ(s.controls().size(), 5 + expected.choiceLefts.size());

    const Control* picture = s.find(expected.pictureControl);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->kind, ControlKind::Picture);
    EXPECT_EQ(picture->rect, (Rect{360, 0, 3135, 2295}));
    EXPECT_TRUE(picture->visible);
    EXPECT_EQ(s.find(expected.pictureControl == "P1" ? "Picture1" : "P1"), nullptr);

    const Control& text = s.control("T1");
    EXPECT_EQ(text.kind, ControlKind::Text);
    EXPECT_EQ(text.rect, (Rect{360, 2400, 6495, expected.textHeight}));
    EXPECT_TRUE(text.scrollbar);
    EXPECT_TRUE(text.visible);

    const std::vector<std::pair<std::string, std::string>> commands{
        {"Command1", expected.talk}, {"Command2", "先生が話す"}, {"Command3", expected.back}};
    int top = 240;
    for (const auto& [name, caption] : commands) {
        const Control& c = s.control(name);
        EXPECT_EQ(c.kind, ControlKind::Button) << name;
        EXPECT_EQ(c.text, caption) << name;
        EXPECT_EQ(c.rect, (Rect{3840, top, 2175, 375})) << name;
        EXPECT_TRUE(c.visible) << name;
        top += 480;
    }
    const std::vector<std::string> digits{"１", "２", "３", "４", "５"};
    for (std::size_t i = 0; i < expected.choiceLefts.size(); ++i) {
        const std::string name = "Command" + std::to_string(4 + i);
        const Control& c = s.control(name);
        EXPECT_EQ(c.kind, ControlKind::Button) << name;
        EXPECT_EQ(c.text, digits[i]) << name;
        EXPECT_EQ(c.rect, (Rect{expected.choiceLefts[i], 1800, 495, 495})) << name;
        EXPECT_FALSE(c.visible) << name;
    }
    EXPECT_EQ(s.find("Command" + std::to_string(4 + expected.choiceLefts.size())), nullptr);
}

// The real lessons opened from the menu, with their own tables.
TEST(LessonScreens, AsDesignedAtCreation)
{
    Navigator nav(fs::current_path());
    defineScreens(nav);
    nav.start("Form1");
    nav.hideForm("Form1");
    nav.showForm("Form20");
    for (const ExpectedLesson& expected : expectedLessons()) {
        SCOPED_TRACE(expected.screen);
        nav.click(expected.menuButton);
        Screen* s = nav.screen(expected.screen);
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(s->visible());
        expectDesign(*s, expected);
        EXPECT_EQ(s->step(), 0);
        EXPECT_EQ(s->control("T1").text, expected.greeting);
        EXPECT_EQ(s->control(expected.pictureControl).picture, expected.teacher);
        EXPECT_EQ(s->control(expected.pictureControl).pictureLoads, 1u);
        nav.showForm("Form20");
        nav.hideForm(expected.screen);
    }
    EXPECT_EQ(lessonProfiles().size(), 14u);
}

// Each real lesson with a small stand-in table: Talk at 0 shows every answer button and a
// diagram, Teacher at 1 goes on to 2.
const LessonScript& twoStepScript()
{
    static const LessonScript script = table({
        {0, Talk, {ShowChoices({1, 2, 3, 4, 5}), ShowPicture("bun1.bmp"), SetText("talk")}, 1},
        {1, Teacher, {SetText("teacher")}, 2},
    });
    return script;
}

TEST(LessonScreens, BackFromEachLesson)
{
    Navigator nav(fs::current_path());
    defineScreens(nav);
    for (const ExpectedLesson& expected : expectedLessons()) {
        const LessonProfile* profile = lessonProfile(expected.screen);
        ASSERT_NE(profile, nullptr) << expected.screen;
        nav.define(expected.screen, [profile](ScreenHost& n) {
            return std::make_unique<LessonScreen>(n, *profile, twoStepScript());
        });
    }
    nav.start("Form1");
    nav.click("C1");

    for (const ExpectedLesson& expected : expectedLessons()) {
        SCOPED_TRACE(expected.screen);
        const std::string greetingAfterBack =
            expected.greetingAfterBack.empty() ? expected.greeting : expected.greetingAfterBack;
        auto toMenu = [&] {
            if (expected.backTo == "Form1")
                nav.click("C1");
        };
        auto expectBackOnWayBack = [&](int step) {
            Screen* s = nav.screen(expected.screen);
            ASSERT_NE(nav.visibleScreen(), nullptr);
            EXPECT_EQ(nav.visibleScreen()->name(), expected.backTo);
            EXPECT_FALSE(s->visible());
            EXPECT_EQ(s->step(), step);
            for (std::size_t k = 0; k < expected.choiceLefts.size(); ++k)
                EXPECT_FALSE(s->control("Command" + std::to_string(4 + k)).visible);
            EXPECT_EQ(s->control(expected.pictureControl).picture, expected.teacher);
            EXPECT_EQ(s->control("T1").text, greetingAfterBack);
            int visible = 0;
            for (const auto& screen : nav.screens())
                visible += screen->visible() ? 1 : 0;
            EXPECT_EQ(visible, 1);
        };

        nav.click(expected.menuButton);
        Screen* s = nav.screen(expected.screen);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->control("T1").text, expected.greeting);

        // Back at step 1 with the answer buttons and a diagram on view.
        nav.click("Command1");
        ASSERT_EQ(s->step(), 1);
        EXPECT_TRUE(s->control("Command4").visible);
        EXPECT_EQ(s->control(expected.pictureControl).picture, "bun1.bmp");
        nav.click("Command3");
        expectBackOnWayBack(expected.keepsStep1 ? 1 : 0);
        EXPECT_EQ(s->control(expected.pictureControl).pictureLoads, 3u);

        // Entering again starts at 0, or at 1 with the greeting on the three that keep it.
        toMenu();
        nav.click(expected.menuButton);
        EXPECT_TRUE(s->visible());
        EXPECT_EQ(s->control("T1").text, greetingAfterBack);
        if (expected.keepsStep1) {
            nav.click("Command1"); // Talk at 1 does nothing
            EXPECT_EQ(s->step(), 1);
            nav.click("Command2");
            EXPECT_EQ(s->control("T1").text, "teacher");
        } else {
            nav.click("Command2"); // Teacher at 0 does nothing
            EXPECT_EQ(s->step(), 0);
            nav.click("Command1");
            nav.click("Command2");
        }
        ASSERT_EQ(s->step(), 2);
        nav.click("Command3"); // from 2 every lesson goes back to 0
        expectBackOnWayBack(0);
        toMenu();
        ASSERT_EQ(nav.visibleScreen()->name(), "Form20");
    }
}

TEST(LessonScreens, BackShowsTheWayBackBeforeHidingTheLesson)
{
    for (const ExpectedLesson& expected : expectedLessons()) {
        SCOPED_TRACE(expected.screen);
        std::string seen;
        Navigator nav(fs::current_path());
        defineScreens(nav);
        const std::string lesson = expected.screen;
        for (const std::string home : {"Form1", "Form20"}) {
            nav.define(home, [home, lesson, &seen](ScreenHost& n) {
                return std::make_unique<HomeScreen>(asNavigator(n), home, lesson, seen);
            });
        }
        nav.start(expected.screen);
        nav.click("Command3");
        EXPECT_EQ(seen, "lesson visible");
        ASSERT_NE(nav.visibleScreen(), nullptr);
        EXPECT_EQ(nav.visibleScreen()->name(), expected.backTo);
        EXPECT_EQ(nav.created(), (std::vector<std::string>{expected.screen, expected.backTo}));
    }
}

} // namespace
} // namespace quillory
