// A lesson opened from the title screen and walked through on the engine, with
// checks that every click at a step either does what its row says or nothing.
#pragma once

#include "app/navigator.h"
#include "app/screens.h"
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "tests/working_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillory {

// Everything a click on a lesson could change.
struct Snapshot {
    std::optional<int> step;
    std::string text;
    std::vector<int> choices;
    std::string picture;
    unsigned pictureLoads = 0;
    std::string visibleScreen;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

// Splits a text written in the WriteLines layout back into its lines.
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    EXPECT_EQ(text.rfind("\r\n", 0), 0u) << "WriteLines text starts with a line break";
    std::size_t pos = 2;
    while (true) {
        const std::size_t next = text.find("\r\n\r\n", pos);
        lines.push_back(text.substr(pos, next == std::string::npos ? next : next - pos));
        if (next == std::string::npos)
            break;
        pos = next + 4;
    }
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    return lines;
}

// Display width in full-width columns: CJK and full-width forms count 1, the rest 1/2.
inline double columns(const std::string& line)
{
    double width = 0;
    for (std::size_t i = 0; i < line.size();) {
        const auto c = static_cast<unsigned char>(line[i]);
        const std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        width += len >= 3 ? 1.0 : 0.5;
        i += len;
    }
    return width;
}

class Lesson {
public:
    // Opens the lesson from the title screen through the menu; the start makes the
    // program's folder current, and the lesson puts the folder before back when it goes.
    explicit Lesson(const std::string& menuButton) : nav_(std::filesystem::current_path())
    {
        defineScreens(nav_);
        nav_.start("Form1");
        nav_.click("C1");
        nav_.click(menuButton);
        screen_ = dynamic_cast<LessonScreen*>(nav_.visibleScreen());
        if (screen_ == nullptr)
            throw std::logic_error("no lesson opened by " + menuButton);
    }

    Navigator& nav() { return nav_; }
    LessonScreen& screen() { return *screen_; }
    int step() const { return screen_->step().value_or(-1); }
    std::string text() const { return screen_->control("T1").text; }
    std::vector<std::string> lines() const { return linesOf(text()); }
    std::string picture() const
    {
        return screen_->control(screen_->profile().pictureControl).picture;
    }

    std::vector<int> choices() const
    {
        std::vector<int> shown;
        for (int k = 1; k <= screen_->profile().choiceCount(); ++k) {
            if (screen_->control(LessonScreen::answerButton(k)).visible)
                shown.push_back(k);
        }
        return shown;
    }

    Snapshot snapshot()
    {
        const Control& pic = screen_->control(screen_->profile().pictureControl);
        Screen* visible = nav_.visibleScreen();
        return {screen_->step(), text(),           choices(),
                pic.picture,     pic.pictureLoads, visible ? visible->name() : ""};
    }

    void talk() { nav_.click("Command1"); }
    void teacher() { nav_.click("Command2"); }
    void answer(int k) { nav_.click(LessonScreen::answerButton(k)); }
    void end() { nav_.click("Command3"); }

    // Clicks that must do nothing at the current step, whether or not the button is shown.
    void expectInert(bool talkToo, bool teacherToo, bool answersToo)
    {
        const Snapshot before = snapshot();
        if (talkToo) {
            screen_->talk();
            EXPECT_EQ(snapshot(), before) << "Talk at " << before.step.value_or(-1);
        }
        if (teacherToo) {
            screen_->teacher();
            EXPECT_EQ(snapshot(), before) << "Teacher at " << before.step.value_or(-1);
        }
        if (answersToo) {
            for (int k = 1; k <= screen_->profile().choiceCount(); ++k) {
                screen_->answer(k);
                EXPECT_EQ(snapshot(), before)
                    << "Answer " << k << " at " << before.step.value_or(-1);
            }
        }
    }

    // A learner's line at an even step: the wrong button and every answer do nothing first.
    void say(const std::string& expected, int to)
    {
        expectInert(false, true, true);
        talk();
        EXPECT_EQ(text(), expected);
        EXPECT_EQ(step(), to);
    }

    // A teacher's speech at an odd step; returns its lines.
    std::vector<std::string> explain(std::size_t count, const std::string& first, int to)
    {
        expectInert(true, false, true);
        teacher();
        EXPECT_EQ(step(), to);
        std::vector<std::string> got = lines();
        EXPECT_EQ(got.size(), count) << "lines of the speech leading to " << to;
        if (!got.empty()) {
            EXPECT_EQ(got.front(), first);
        }
        EXPECT_TRUE(choices().empty());
        return got;
    }

    // A question waiting at an odd step: only the answer buttons move on.
    void answerWith(int k, const std::string& feedback, int to)
    {
        answerWith(k, feedback, to, {1, 2, 3});
    }
    void answerWith(int k, const std::string& feedback, int to, const std::vector<int>& shown)
    {
        EXPECT_EQ(choices(), shown);
        expectInert(true, true, false);
        answer(k);
        EXPECT_EQ(text(), feedback);
        EXPECT_EQ(step(), to);
        // The buttons stay until the next Talk hides them, and do nothing meanwhile.
        EXPECT_EQ(choices(), shown);
        expectInert(false, true, true);
    }

private:
    WorkingFolderGuard folder_;
    Navigator nav_;
    LessonScreen* screen_ = nullptr;
};

} // namespace quillory
