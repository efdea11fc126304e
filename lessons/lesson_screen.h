// The lesson screen and its turn engine.
#pragma once

#include "lessons/lesson_profile.h"
#include "ui/screen.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillory {

class LessonScreen : public Screen {
public:
    LessonScreen(Navigator& navigator, const LessonProfile& profile, const LessonScript& script);

    std::optional<int> step() const override { return stepNo_; }
    void load() override;

    void talk();
    void teacher();
    void answer(int k);
    void back();

    const LessonProfile& profile() const { return profile_; }
    static std::string choiceName(int k);

protected:
    void onClick(std::string_view control) override;

private:
    const StepTransition* row(int from, Trigger trigger) const;
    bool ignores(int answer, int step) const;
    void run(const StepTransition& row);
    void apply(const Effect& effect, Speaker who);
    void setChoices(const std::vector<int>& choices, bool visible);
    void hideAllChoices();

    const LessonProfile& profile_;
    const LessonScript& script_;
    std::int16_t stepNo_ = 0;
};

// Problems with a script table: rows off the turn order, duplicate rows, answer
// buttons the screen lacks, pictures not among the assets. Empty when sound.
std::vector<std::string> checkLessonScript(const LessonProfile& profile, const LessonScript& script,
                                           const std::vector<std::string>& pictures);

} // namespace quillory
