// The learner's record as the program keeps it: its clock, every screen's
// answers and progress, and what the menu tells about the record.
#pragma once

#include "record/learner_record.h"
#include "ui/screen.h"
#include "ui/screen_host.h"

#include <functional>
#include <memory>
#include <string>

namespace quillory {

class Learning {
public:
    // `today` ("YYYY-MM-DD"): the day the review schedule takes as today; empty:
    // the real date.
    explicit Learning(std::unique_ptr<RecordStore> store, std::string today = {});
    // The store is opened when the record is first needed, not at start-up.
    using Opener = std::function<std::unique_ptr<RecordStore>()>;
    explicit Learning(Opener open, std::string today = {});

    LearnerRecord& record();
    std::string today() const;
    // Today with the clock's time of day.
    std::string now() const;

    void entered(const Screen& screen);
    void answered(const AnswerNote& note);
    // After a click on a screen with steps: how far it got.
    void progressed(const Screen& screen);

    // What went wrong with the record since last asked, in a line; empty when
    // nothing did.
    std::string takeNotice() { return record().takeNotice(); }

private:
    Opener open_;
    std::unique_ptr<LearnerRecord> record_;
    std::string today_;
};

} // namespace quillory
