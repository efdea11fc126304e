// The review of missed questions and the record of what the learner did: two
// screens the program adds beside those of its script.
#pragma once

#include "app/learning.h"
#include "app/questions.h"
#include "ui/file_exchange.h"
#include "ui/screen.h"

#include <memory>
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
// accuracy, a way to start afresh, and the record written to a file or read
// back from one.
class RecordScreen : public Screen {
public:
    RecordScreen(ScreenHost& host, Learning& learning);
    void shown() override;

protected:
    void onClick(std::string_view control) override;
    bool acts(std::string_view button) const override;

private:
    void fill();
    void confirm(bool asking);
    void exportRecord();
    void importRecord();
    void opened(FileOutcome outcome, const std::string& contents);
    // The outcome in the message line; empty: none.
    void tell(const std::string& message);

    Learning& learning_;
    // A dialog is open: its answer may come later, the screen gone by then.
    bool waiting_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The screens a menu button opens that keep progress, in menu order.
const std::vector<std::string>& recordedScreens();
// The last step of a lesson, the quiz or the game.
int lastStepOf(const std::string& screen);

} // namespace quillory
