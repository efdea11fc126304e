#include "app/navigator.h"
#include "app/screens.h"

#include <gtest/gtest.h>

#include <map>
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

TEST(Navigator, StartsOnTheTitleAlone)
{
    Navigator nav(std::filesystem::temp_directory_path());
    defineScreens(nav);
    nav.start("Form1");
    ASSERT_NE(nav.visibleScreen(), nullptr);
    EXPECT_EQ(nav.visibleScreen()->name(), "Form1");
    EXPECT_EQ(nav.created(), std::vector<std::string>{"Form1"});
}

// What the little screens below saw.
struct Record {
    std::map<std::string, int> loads;
    // One entry per load: "<screen> sees <visible screens>".
    std::vector<std::string> seen;
};

std::string visibleNames(const Navigator& nav)
{
    std::string names;
    for (const auto& s : nav.screens()) {
        if (s->visible())
            names += (names.empty() ? "" : ",") + s->name();
    }
    return names.empty() ? "-" : names;
}

int visibleCount(const Navigator& nav)
{
    int n = 0;
    for (const auto& s : nav.screens())
        n += s->visible() ? 1 : 0;
    return n;
}

// A screen that hands over to `next` in either order, or ends the program.
class HandOverScreen : public Screen {
public:
    HandOverScreen(Navigator& nav, std::string name, std::string next, Record& record)
        : Screen(nav, name, name + " window", 4800, 3600, {10, 20, 30}), next_(std::move(next)),
          record_(record)
    {
        add(makeButton("ShowThenHide", "show, hide", {0, 0, 1200, 375}));
        add(makeButton("HideThenShow", "hide, show", {0, 480, 1200, 375}));
        add(makeButton("End", "end", {0, 960, 1200, 375}));
        add(makeButton("Choice", "1", {0, 1440, 495, 495}, false));
        add(makeText("T1", "", {1500, 0, 3000, 1500}, true));
        add(makePicture("P1", {1500, 1600, 3000, 1500}));
    }

    void load() override
    {
        ++record_.loads[name()];
        record_.seen.push_back(name() + " sees " + visibleNames(asNavigator(host())));
        setText("T1", "loaded");
    }

protected:
    void onClick(std::string_view control) override
    {
        if (control == "ShowThenHide") {
            asNavigator(host()).showForm(next_);
            asNavigator(host()).hideForm(name());
        } else if (control == "HideThenShow") {
            asNavigator(host()).hideForm(name());
            asNavigator(host()).showForm(next_);
        } else if (control == "End") {
            asNavigator(host()).endProgram();
            // A handler that goes on after the end changes nothing.
            asNavigator(host()).showForm(next_);
        }
    }

private:
    std::string next_;
    Record& record_;
};

void defineRing(Navigator& nav, Record& record)
{
    const std::vector<std::pair<std::string, std::string>> ring{{"A", "B"}, {"B", "C"}, {"C", "A"}};
    for (const auto& [name, next] : ring) {
        nav.define(name, [name, next, &record](ScreenHost& n) {
            return std::make_unique<HandOverScreen>(asNavigator(n), name, next, record);
        });
    }
}

TEST(Navigator, CreatesOnFirstUseAndLoadsOnce)
{
    Record record;
    Navigator nav(std::filesystem::temp_directory_path());
    defineRing(nav, record);
    EXPECT_TRUE(nav.defines("A"));
    EXPECT_FALSE(nav.defines("Z"));

    nav.start("A");
    EXPECT_EQ(nav.created(), std::vector<std::string>{"A"});
    EXPECT_EQ(nav.screen("B"), nullptr);
    EXPECT_EQ(record.loads["A"], 1);

    Screen* a = nav.screen("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->caption(), "A window");

    // Showing the visible screen again changes nothing.
    nav.showForm("A");
    EXPECT_EQ(record.loads["A"], 1);
    EXPECT_TRUE(a->visible());

    // Round the ring twice: each screen is created once and keeps its instance.
    for (int round = 0; round < 2; ++round) {
        nav.click("ShowThenHide"); // A -> B
        nav.click("HideThenShow"); // B -> C
        nav.click("ShowThenHide"); // C -> A
    }
    EXPECT_EQ(nav.created(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(record.loads, (std::map<std::string, int>{{"A", 1}, {"B", 1}, {"C", 1}}));
    EXPECT_EQ(nav.screen("A"), a);
    EXPECT_EQ(nav.visibleScreen(), a);

    // Hiding a screen that does not exist yet creates it, loads it and leaves it hidden.
    Record other;
    Navigator fresh(std::filesystem::temp_directory_path());
    defineRing(fresh, other);
    fresh.start("A");
    fresh.hideForm("C");
    ASSERT_NE(fresh.screen("C"), nullptr);
    EXPECT_FALSE(fresh.screen("C")->visible());
    EXPECT_EQ(other.loads["C"], 1);
    EXPECT_EQ(fresh.screen("C")->control("T1").text, "loaded");
    fresh.showForm("C");
    EXPECT_EQ(other.loads["C"], 1);
}

TEST(Navigator, HideKeepsEveryPropertyOfTheScreen)
{
    Record record;
    Navigator nav(std::filesystem::temp_directory_path());
    defineRing(nav, record);
    nav.start("A");
    Screen* a = nav.screen("A");
    a->setText("T1", "typed\r\ntext");
    a->setVisible("Choice", true);
    a->showPicture("P1", "gal2.bmp");
    a->showPicture("P1", "gal2.bmp");

    nav.click("HideThenShow"); // A hidden, B shown
    EXPECT_FALSE(a->visible());
    nav.hideForm("A"); // hiding a hidden screen changes nothing either
    nav.showForm("A");
    nav.hideForm("B");

    EXPECT_EQ(record.loads["A"], 1);
    EXPECT_EQ(a->control("T1").text, "typed\r\ntext");
    EXPECT_TRUE(a->control("Choice").visible);
    EXPECT_EQ(a->control("P1").picture, "gal2.bmp");
    EXPECT_EQ(a->control("P1").pictureLoads, 2u);
    EXPECT_TRUE(a->control("ShowThenHide").visible);
    EXPECT_EQ(a->control("T1").rect, (Rect{1500, 0, 3000, 1500}));
}

TEST(Navigator, HandOversKeepOneScreenVisibleAndFollowTheCallersOrder)
{
    Record record;
    Navigator nav(std::filesystem::temp_directory_path());
    defineRing(nav, record);
    nav.start("A");
    EXPECT_EQ(visibleCount(nav), 1);

    // Show, then hide: B is created while A is still on view.
    nav.click("ShowThenHide");
    EXPECT_EQ(visibleCount(nav), 1);
    EXPECT_EQ(nav.visibleScreen()->name(), "B");
    // Hide, then show: C is created while nothing is on view.
    nav.click("HideThenShow");
    EXPECT_EQ(visibleCount(nav), 1);
    EXPECT_EQ(nav.visibleScreen()->name(), "C");
    EXPECT_EQ(record.seen, (std::vector<std::string>{"A sees -", "B sees A", "C sees -"}));

    // A hidden control cannot be clicked; a name without a control does nothing.
    nav.click("Choice");
    nav.click("NoSuchControl");
    EXPECT_EQ(nav.visibleScreen()->name(), "C");

    // An unknown screen is a programming error, reported at once.
    EXPECT_THROW(nav.showForm("Nowhere"), std::invalid_argument);
}

TEST(Navigator, EndProgramHidesEverythingOnceAndForAll)
{
    Record record;
    Navigator nav(std::filesystem::temp_directory_path());
    defineRing(nav, record);
    int ends = 0;
    nav.onEnd([&] { ++ends; });
    nav.start("A");
    nav.click("ShowThenHide"); // B visible, A hidden
    nav.hideForm("C");         // C exists, hidden

    nav.click("End"); // the handler also tries to show C afterwards
    EXPECT_TRUE(nav.ended());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(nav.visibleScreen(), nullptr);
    EXPECT_EQ(visibleCount(nav), 0);

    // Nothing reacts any more: clicks, hand-overs, another end.
    nav.click("ShowThenHide");
    nav.click("End");
    nav.showForm("A");
    nav.endProgram();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(visibleCount(nav), 0);
    EXPECT_EQ(nav.created(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(record.loads, (std::map<std::string, int>{{"A", 1}, {"B", 1}, {"C", 1}}));

    // Ending before any hand-over works the same.
    Navigator other(std::filesystem::temp_directory_path());
    Record otherRecord;
    defineRing(other, otherRecord);
    int otherEnds = 0;
    other.onEnd([&] { ++otherEnds; });
    other.start("A");
    other.click("End");
    EXPECT_EQ(otherEnds, 1);
    EXPECT_EQ(other.created(), std::vector<std::string>{"A"});
    EXPECT_EQ(other.visibleScreen(), nullptr);
}

} // namespace
} // namespace quillory
