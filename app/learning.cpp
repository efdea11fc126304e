#include "app/learning.h"

#include "record/dates.h"

#include <utility>

namespace quillory {

Learning::Learning(std::unique_ptr<RecordStore> store, std::string today)
    : record_(std::make_unique<LearnerRecord>(std::move(store))),
      today_(isDay(today) ? std::move(today) : std::string())
{
}

Learning::Learning(Opener open, std::string today)
    : open_(std::move(open)), today_(isDay(today) ? std::move(today) : std::string())
{
}

LearnerRecord& Learning::record()
{
    if (record_ == nullptr)
        record_ = std::make_unique<LearnerRecord>(open_());
    return *record_;
}

std::string Learning::today() const
{
    return today_.empty() ? localToday() : today_;
}

std::string Learning::now() const
{
    const std::string clock = localNow();
    return today_.empty() ? clock : today_ + clock.substr(10);
}

void Learning::entered(const Screen& screen)
{
    if (screen.progressStep())
        record().entered(screen.name(), now());
}

void Learning::answered(const AnswerNote& note)
{
    record().answered(note.screen, note.question, note.answer, note.right.value_or(true), now());
}

void Learning::progressed(const Screen& screen)
{
    if (const std::optional<int> step = screen.progressStep())
        record().reached(screen.name(), *step, screen.lastStep(), screen.finished());
}

} // namespace quillory
