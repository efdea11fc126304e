// The title screen, the main menu and the game explanation.
#include "app/navigator.h"
#include "app/screens.h"
#include "tests/working_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace quillory {
namespace {

// The navigator behind a screen's host, for test screens that look at other screens.
Navigator& asNavigator(ScreenHost& host)
{
    return static_cast<Navigator&>(host);
}

namespace fs = std::filesystem;

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

const std::string kIdeoSpace = "　";

struct Expected {
    std::string name;
    ControlKind kind;
    std::string text;
    Rect rect;
    std::optional<Rgb> background = std::nullopt;
};

void expectScreen(const Screen& s, const std::string& caption, int width, int height,
                  Rgb background, const std::vector<Expected>& controls)
{
    SCOPED_TRACE(s.name());
    EXPECT_EQ(s.caption(), caption);
    EXPECT_EQ(s.width(), width);
    EXPECT_EQ(s.height(), height);
    EXPECT_EQ(s.background(), background);
    EXPECT_EQ(s.controls().size(), controls.size());
    for (const Expected& e : controls) {
        SCOPED_TRACE(e.name);
        const Control* c = s.find(e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->kind, e.kind);
        EXPECT_EQ(c->text, e.text);
        EXPECT_EQ(c->rect, e.rect);
        EXPECT_TRUE(c->visible);
        if (e.background) {
            EXPECT_EQ(c->background, e.background);
        }
    }
}

class TempFolder {
public:
    explicit TempFolder(const std::string& tag)
        : path_(fs::temp_directory_path() / ("quillory-" + tag + "-" + std::to_string(::getpid())))
    {
        fs::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

struct MenuButton {
    std::string button;
    std::string caption;
    int left;
    int top;
    int height;
    std::string opens; // empty: ends the program
};

const std::vector<MenuButton>& menuButtons()
{
    static const std::vector<MenuButton> kButtons{
        {"Command1", "ゲームの説明", 120, 120, 375, "Form2"},
        {"C2", "＜１＞５文型 Part 1", 120, 720, 375, "Form3"},
        {"C3", "＜２＞５文型 Part 2", 120, 1320, 375, "Form4"},
        {"C4", "＜３＞５文型 Part 3", 120, 1920, 375, "Form5"},
        {"C5", "＜４＞５文型 part 4", 120, 2520, 375, "Form6"},
        {"C6", "＜５＞５文型 Part 5", 120, 3120, 375, "Form7"},
        {"C7", "怒濤の文型当て問題", 120, 3720, 375, "Form18"},
        {"C8", "＜６＞形容詞句" + repeat(kIdeoSpace, 4), 2400, 720, 375, "Form8"},
        {"C9", "＜７＞形容詞節 Part 1", 2400, 1320, 375, "Form9"},
        {"C10", "＜８＞形容詞節 Part 2", 2400, 1920, 375, "Form10"},
        {"C11", "＜９＞名詞句" + repeat(kIdeoSpace, 6), 2400, 2520, 375, "Form11"},
        {"C12", "＜１０＞名詞節" + repeat(kIdeoSpace, 5), 2400, 3120, 375, "Form12"},
        {"C13", "＜１１＞副詞句" + repeat(" ", 9), 4680, 720, 375, "Form13"},
        {"C14", "＜１２＞副詞節" + repeat(" ", 9), 4680, 1320, 375, "Form14"},
        {"C15", "＜１３＞仮定法" + repeat(kIdeoSpace, 4) + " ", 4680, 1920, 375, "Form15"},
        {"C16", "＜１４＞分詞構文" + repeat(kIdeoSpace, 3), 4680, 2520, 375, "Form16"},
        {"C17", "THE LANTERN ROAD", 4680, 3120, 975, "Form17"},
        {"C18", "終　　了", 4680, 120, 375, ""},
    };
    return kButtons;
}

const std::vector<std::string> kHelpLines{
    "これは、楽しみながら英語の学習ができるゲームです。",
    "メニューに１４の学習項目がありますので、学習したい",
    "項目をクリックして下さい。授業が始まります。",
    "どの項目から始めても構いませんが、番号順に進む方が",
    "効果的になっています。",
    "授業はすべてコマンド方式になっています。",
    "「話す/質問する」は先生に話しかけたり、質問したり",
    "するときのコマンドです。",
    "「先生が話す」は、まさに先生が話したり、説明をする",
    "ためのコマンドです。どちらも流れにそって、選択して",
    "下さい。　なお、途中で先生が問題を出したり、質問を",
    "したりすることがあります。そのときには、返答用の",
    "番号が現れますので、適当なものをクリックして下さい。",
    "一通り学習が終了したら、「THE LANTERN ROAD」に挑戦",
    "して下さい。これは、問題を解くことでストーリーが",
    "展開する、アドベンチャーゲームです。",
    "もちろん、自信があるならいきなりやってみても",
    "構いません。では、頑張って下さい。",
};

int visibleCount(const Navigator& nav)
{
    int n = 0;
    for (const auto& s : nav.screens())
        n += s->visible() ? 1 : 0;
    return n;
}

std::string visibleName(Navigator& nav)
{
    Screen* s = nav.visibleScreen();
    return s == nullptr ? "" : s->name();
}

// Everything the learner can see of a screen, to compare two moments.
struct Snapshot {
    std::vector<std::string> texts;
    std::vector<bool> visible;
    std::vector<std::string> pictures;
    std::vector<unsigned> loads;
    std::optional<int> step;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(const Screen& s)
{
    Snapshot shot;
    for (const Control& c : s.controls()) {
        shot.texts.push_back(c.text);
        shot.visible.push_back(c.visible);
        shot.pictures.push_back(c.picture);
        shot.loads.push_back(c.pictureLoads);
    }
    shot.step = s.step();
    return shot;
}

TEST(Shell, ScreensAsDesigned)
{
    Navigator nav(fs::temp_directory_path());
    defineScreens(nav);
    nav.start("Form1");
    nav.hideForm("Form20");
    nav.hideForm("Form2");
    for (const char* name : {"Form1", "Form20", "Form2"})
        ASSERT_NE(nav.screen(name), nullptr) << name;

    expectScreen(
        *nav.screen("Form1"), " Quillory", 7155, 2925, {64, 64, 64},
        {
            {"Label1", ControlKind::Label, "Quillory", {1560, 120, 3855, 375}, Rgb{255, 255, 192}},
            // The start button's caption is the program's own choice.
            {"C1",
             ControlKind::Button,
             nav.screen("Form1")->control("C1").text,
             {1560, 1920, 3855, 495}},
        });
    EXPECT_FALSE(nav.screen("Form1")->control("C1").text.empty());

    std::vector<Expected> menu{
        {"Label1", ControlKind::Label, "Quillory", {2160, 120, 2535, 375}, Rgb{255, 255, 192}}};
    for (const MenuButton& b : menuButtons())
        menu.push_back({b.button, ControlKind::Button, b.caption, {b.left, b.top, 2055, b.height}});
    expectScreen(*nav.screen("Form20"), "Quilloryメニュー", 6855, 4380, {0, 0, 0}, menu);

    std::string help = "\r\n" + kHelpLines[0];
    for (std::size_t i = 1; i < kHelpLines.size(); ++i)
        help += "\r\n\r\n" + kHelpLines[i];
    expectScreen(*nav.screen("Form2"), "ゲームの説明", 7155, 4305, {255, 255, 128},
                 {
                     {"Text1", ControlKind::Text, help, {600, 480, 6015, 3015}, Rgb{255, 255, 255}},
                     {"Command1", ControlKind::Button, "メニューに戻る", {2400, 3720, 2415, 375}},
                 });
    EXPECT_TRUE(nav.screen("Form2")->control("Text1").scrollbar);
}

TEST(Shell, StartMakesTheProgramFolderCurrentOnEveryClick)
{
    WorkingFolderGuard restore;
    TempFolder program("program");
    TempFolder elsewhere("elsewhere");

    Navigator nav(program.path());
    defineScreens(nav);
    fs::current_path(elsewhere.path());
    nav.start("Form1");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), elsewhere.path())); // nothing before C1

    nav.click("C1");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), program.path()));
    EXPECT_FALSE(nav.screen("Form1")->visible());
    EXPECT_EQ(visibleName(nav), "Form20");
    EXPECT_EQ(nav.created(), (std::vector<std::string>{"Form1", "Form20"}));
    Screen* menu = nav.screen("Form20");

    // Lesson 1 and its end lead back to the title; the next start repeats every step.
    nav.click("C2");
    EXPECT_EQ(visibleName(nav), "Form3");
    fs::current_path(elsewhere.path());
    nav.click("Command3");
    EXPECT_EQ(visibleName(nav), "Form1");
    EXPECT_EQ(visibleCount(nav), 1);
    nav.click("C1");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), program.path()));
    EXPECT_EQ(visibleName(nav), "Form20");
    EXPECT_EQ(nav.screen("Form20"), menu);
    EXPECT_EQ(nav.created(), (std::vector<std::string>{"Form1", "Form20", "Form3"}));

    // A third time, from yet another folder.
    fs::current_path(fs::temp_directory_path());
    nav.click("C5");
    nav.click("Command3");
    nav.click("C1");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), program.path()));
    EXPECT_EQ(visibleName(nav), "Form20");
}

TEST(Shell, TheStartButtonHidesTheTitleBeforeTheMenuAppears)
{
    // A stand-in menu notes what is on view while it is being created.
    struct ProbeMenu : Screen {
        ProbeMenu(Navigator& n, std::string& seen)
            : Screen(n, "Form20", "menu", 6855, 4380, {0, 0, 0}), seen_(seen)
        {
        }
        void load() override
        {
            Screen* title = asNavigator(host()).screen("Form1");
            seen_ = title != nullptr && title->visible() ? "title visible" : "title hidden";
        }
        void onClick(std::string_view) override {}
        std::string& seen_;
    };
    WorkingFolderGuard restore;
    std::string seen;
    Navigator nav(fs::current_path());
    defineScreens(nav);
    nav.define("Form20", [&seen](ScreenHost& n) {
        return std::make_unique<ProbeMenu>(asNavigator(n), seen);
    });
    nav.start("Form1");
    nav.click("C1");
    EXPECT_EQ(seen, "title hidden");
    EXPECT_EQ(visibleName(nav), "Form20");
}

TEST(Shell, MenuOpensEachScreenAndLeavesItAsItWas)
{
    WorkingFolderGuard restore;
    Navigator nav(fs::current_path());
    defineScreens(nav);
    nav.start("Form1");
    nav.click("C1");

    std::vector<std::string> order{"Form1", "Form20"};
    for (const MenuButton& b : menuButtons()) {
        if (b.opens.empty())
            continue;
        SCOPED_TRACE(b.button);
        nav.click(b.button);
        order.push_back(b.opens);
        EXPECT_EQ(visibleName(nav), b.opens);
        EXPECT_EQ(visibleCount(nav), 1);
        EXPECT_FALSE(nav.screen("Form20")->visible());
        EXPECT_EQ(nav.created(), order);

        // Back to the menu without the target's own way back, then open it again:
        // the menu neither re-creates nor changes it.
        Screen* target = nav.screen(b.opens);
        const Snapshot before = snapshot(*target);
        nav.showForm("Form20");
        nav.hideForm(b.opens);
        nav.click(b.button);
        EXPECT_EQ(nav.screen(b.opens), target);
        EXPECT_EQ(snapshot(*target), before);
        EXPECT_EQ(visibleName(nav), b.opens);
        nav.showForm("Form20");
        nav.hideForm(b.opens);
    }
    EXPECT_EQ(nav.created().size(), 19u);
    EXPECT_FALSE(nav.ended());
}

TEST(Shell, MenuHidesItselfBeforeShowingTheTarget)
{
    struct Probe : Screen {
        Probe(Navigator& n, std::string name, std::vector<std::string>& seen)
            : Screen(n, std::move(name), "probe", 1000, 1000, {0, 0, 0}), seen_(seen)
        {
        }
        void load() override
        {
            seen_.push_back(name() + (asNavigator(host()).screen("Form20")->visible()
                                          ? " menu visible"
                                          : " menu hidden"));
        }
        void onClick(std::string_view) override {}
        std::vector<std::string>& seen_;
    };
    WorkingFolderGuard restore;
    std::vector<std::string> seen;
    Navigator nav(fs::current_path());
    defineScreens(nav);
    nav.define("Form4", [&seen](ScreenHost& n) {
        return std::make_unique<Probe>(asNavigator(n), "Form4", seen);
    });
    nav.define("Form17", [&seen](ScreenHost& n) {
        return std::make_unique<Probe>(asNavigator(n), "Form17", seen);
    });
    nav.start("Form1");
    nav.click("C1");
    nav.click("C3");
    nav.showForm("Form20");
    nav.hideForm("Form4");
    nav.click("C17");
    EXPECT_EQ(seen, (std::vector<std::string>{"Form4 menu hidden", "Form17 menu hidden"}));
}

TEST(Shell, EndButtonEndsTheProgramAtOnce)
{
    WorkingFolderGuard restore;
    Navigator nav(fs::current_path());
    defineScreens(nav);
    int ends = 0;
    nav.onEnd([&] { ++ends; });
    nav.start("Form1");
    nav.click("C1");
    nav.click("C9"); // a lesson exists, hidden, when the program ends
    nav.click("Command3");
    ASSERT_EQ(visibleName(nav), "Form20");

    nav.click("C18");
    EXPECT_TRUE(nav.ended());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(visibleCount(nav), 0);
    nav.click("Command1");
    nav.click("C18");
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(nav.screen("Form2"), nullptr);
    EXPECT_EQ(nav.created(), (std::vector<std::string>{"Form1", "Form20", "Form9"}));
}

TEST(Shell, ExplanationShowsItsTextOnceAndReturnsToTheMenu)
{
    struct ProbeMenu : Screen {
        ProbeMenu(Navigator& n, std::string& seen)
            : Screen(n, "Form20", "menu", 6855, 4380, {0, 0, 0}), seen_(seen)
        {
            add(makeButton("Command1", "explain", {120, 120, 2055, 375}));
        }
        void load() override
        {
            Screen* help = asNavigator(host()).screen("Form2");
            seen_ =
                help != nullptr && help->visible() ? "explanation visible" : "explanation hidden";
        }
        void onClick(std::string_view) override
        {
            asNavigator(host()).hideForm("Form20");
            asNavigator(host()).showForm("Form2");
        }
        std::string& seen_;
    };

    std::string help = "\r\n" + kHelpLines[0];
    for (std::size_t i = 1; i < kHelpLines.size(); ++i)
        help += "\r\n\r\n" + kHelpLines[i];

    {
        WorkingFolderGuard restore;
        Navigator nav(fs::current_path());
        defineScreens(nav);
        nav.start("Form1");
        nav.click("C1");
        nav.click("Command1");
        Screen* explanation = nav.screen("Form2");
        ASSERT_NE(explanation, nullptr);
        EXPECT_EQ(explanation->control("Text1").text, help);

        nav.click("Command1"); // メニューに戻る
        EXPECT_EQ(visibleName(nav), "Form20");
        EXPECT_FALSE(explanation->visible());
        EXPECT_EQ(visibleCount(nav), 1);

        nav.click("Command1");
        EXPECT_EQ(visibleName(nav), "Form2");
        EXPECT_EQ(nav.screen("Form2"), explanation);
        EXPECT_EQ(explanation->control("Text1").text, help); // not doubled
        nav.click("Command1");
        nav.click("Command1");
        EXPECT_EQ(explanation->control("Text1").text, help);
    }

    // Its way back shows the menu before hiding itself.
    std::string seen;
    Navigator nav(fs::current_path());
    defineScreens(nav);
    nav.define("Form20", [&seen](ScreenHost& n) {
        return std::make_unique<ProbeMenu>(asNavigator(n), seen);
    });
    nav.start("Form2");
    nav.click("Command1");
    EXPECT_EQ(seen, "explanation visible");
    EXPECT_EQ(visibleName(nav), "Form20");
    EXPECT_EQ(visibleCount(nav), 1);
}

} // namespace
} // namespace quillory
