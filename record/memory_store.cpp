#include "record/record_store.h"

#include "record/sqlite_store.h"

#include <algorithm>

namespace quillory {

namespace {

template <typename Entry> auto sameQuestion(const std::string& screen, int question)
{
    return
        [screen, question](const Entry& e) { return e.screen == screen && e.question == question; };
}

template <typename Entry> void put(std::vector<Entry>& entries, const Entry& entry)
{
    auto it = std::find_if(entries.begin(), entries.end(),
                           sameQuestion<Entry>(entry.screen, entry.question));
    if (it == entries.end())
        entries.push_back(entry);
    else
        *it = entry;
}

} // namespace

bool MemoryStore::write(const RecordChange& change)
{
    if (change.answer) {
        answers_.push_back(*change.answer);
        ++contents_.answers;
    }
    if (change.screen) {
        auto& screens = contents_.screens;
        auto it = std::find_if(screens.begin(), screens.end(), [&](const ScreenEntry& s) {
            return s.screen == change.screen->screen;
        });
        if (it == screens.end())
            screens.push_back(*change.screen);
        else
            *it = *change.screen;
    }
    if (change.question)
        put(contents_.questions, *change.question);
    if (change.schedule)
        put(contents_.reviews, *change.schedule);
    if (change.retire)
        std::erase_if(contents_.reviews,
                      sameQuestion<ReviewEntry>(change.retire->screen, change.retire->question));
    return true;
}

bool MemoryStore::clear()
{
    contents_ = {};
    answers_.clear();
    return true;
}

std::optional<RecordData> MemoryStore::readAll()
{
    return RecordData{contents_.screens, contents_.questions, contents_.reviews, answers_};
}

bool MemoryStore::replace(const RecordData& data)
{
    contents_ = {data.screens, data.questions, data.reviews,
                 static_cast<std::int64_t>(data.answers.size())};
    answers_ = data.answers;
    return true;
}

std::unique_ptr<RecordStore> openRecordStore(const std::string& file)
{
    if (file.empty())
        return std::make_unique<MemoryStore>();
    return std::make_unique<SqliteStore>(file);
}

} // namespace quillory
