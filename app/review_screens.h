// The review of missed questions and the record of what the learner did: two
// screens the program adds beside those of its script.
#pragma once

#include "app/learning.h"
#include "app/questions.h"
#include "ui/screen.h"

#include <optional>
#include <string>

namespace quillory {

// 復習: one due question at a time, as it was asked; after an answer its own
// feedback, then the next.
class ReviewScreen : public Screen {
public:
    ReviewScreen(ScreenHost& host, Learning& learning);
    void shown() override;

protected:
    void onClick(std::string_view control) override;
    bool acts(std::string_view button) const override;

private:
    void next();
    void answer(int k);

    Learning& learning_;
    std::optional<AskedQuestion> asked_;
    bool answered_ = false;
};

// 学習の記録: a row for each lesson, the quiz and the game, a bar of first-try
// accuracy, and a way to start afresh.
class RecordScreen : public Screen {
public:
    RecordScreen(ScreenHost& host, Learning& learning);
    void shown() override;

protected:
    void onClick(std::string_view control) override;

private:
    void fill();
    void confirm(bool asking);

    Learning& learning_;
};

// The screens a menu button opens that keep progress, in menu order.
const std::vector<std::string>& recordedScreens();
// The last step of a lesson, the quiz or the game.
int lastStepOf(const std::string& screen);

} // namespace quillory
