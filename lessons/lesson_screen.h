// The lesson screen and its turn engine.
#pragma once

#include "lessons/lesson_profile.h"
#include "ui/conversation_screen.h"

#include <string>
#include <vector>

namespace quillory {

class LessonScreen : public ConversationScreen {
public:
    // The profile and the script must outlive the screen.
    LessonScreen(ScreenHost& host, const LessonProfile& profile, const LessonScript& script);

    void load() override;

    void talk() override { take(Talk); }
    void teacher() { take(Teacher); }
    void answer(int k) override { take(Answer(k)); }
    void back() override;

    const LessonProfile& profile() const { return profile_; }
    int lastStep() const override { return quillory::lastStep(script_); }
    bool finished() const override { return finished_; }

protected:
    void other() override { teacher(); }
    bool acts(std::string_view button) const override;

private:
    void take(Trigger trigger);
    void run(const StepTransition& row, bool asks);

    const LessonProfile& profile_;
    const LessonScript& script_;
    bool finished_ = false; // the last row ran in this visit
};

// Problems with a script table: rows off the turn order or that no click can
// reach, duplicate rows, answer buttons the screen lacks or more than it can
// hold, pictures not among the assets, questions without exactly one right
// answer or whose right answer does not go on. Empty when sound.
std::vector<std::string> checkLessonScript(const LessonProfile& profile, const LessonScript& script,
                                           const std::vector<std::string>& pictures);

} // namespace quillory
