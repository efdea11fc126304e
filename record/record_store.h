// Where the learner's record is kept: a narrow store the record's logic writes
// through. Each write is one change, kept whole or not at all.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillory {

// One answer as given: `question` is the step that showed the choices, `answer`
// the button (1 based), `firstTry` whether it was the first at that question in
// the visit. `when` is "YYYY-MM-DD HH:MM:SS".
struct AnswerEntry {
    std::string when;
    std::string screen;
    int question = 0;
    int answer = 0;
    bool right = false;
    bool firstTry = false;

    bool operator==(const AnswerEntry&) const = default;
};

// How far a screen got: the furthest step, its last step, whether it was
// finished and when it was last entered ("" when never).
struct ScreenEntry {
    std::string screen;
    int reached = 0;
    int last = 0;
    bool finished = false;
    std::string lastVisit;

    bool operator==(const ScreenEntry&) const = default;
};

// A question's latest first try.
struct QuestionEntry {
    std::string screen;
    int question = 0;
    bool firstRight = false;

    bool operator==(const QuestionEntry&) const = default;
};

// A question in the review schedule: its box (1 to 5), the day it is due
// ("YYYY-MM-DD") and a number that grows each time it is scheduled.
struct ReviewEntry {
    std::string screen;
    int question = 0;
    int box = 1;
    std::string due;
    std::int64_t seq = 0;

    bool operator==(const ReviewEntry&) const = default;
};

struct QuestionKey {
    std::string screen;
    int question = 0;
};

// Everything the record's logic needs at start. The answers themselves stay in
// the store: only their count comes back.
struct RecordContents {
    std::vector<ScreenEntry> screens;
    std::vector<QuestionEntry> questions;
    std::vector<ReviewEntry> reviews;
    std::int64_t answers = 0;
};

// Everything a record holds, every answer too: what moves between machines.
struct RecordData {
    std::vector<ScreenEntry> screens;
    std::vector<QuestionEntry> questions;
    std::vector<ReviewEntry> reviews;
    std::vector<AnswerEntry> answers;

    bool operator==(const RecordData&) const = default;
};

// One change to the record.
struct RecordChange {
    std::optional<AnswerEntry> answer;
    std::optional<ScreenEntry> screen;
    std::optional<QuestionEntry> question;
    std::optional<ReviewEntry> schedule;
    std::optional<QuestionKey> retire;
};

class RecordStore {
public:
    virtual ~RecordStore() = default;

    // Everything kept, read once at start.
    virtual RecordContents load() = 0;
    // Keeps the change whole or not at all. False when it was not kept.
    virtual bool write(const RecordChange& change) = 0;
    // Starts afresh, after keeping a copy of what there was where the store can.
    virtual bool clear() = 0;
    // Everything kept, every answer too; none when the store cannot read it.
    virtual std::optional<RecordData> readAll() = 0;
    // Puts `data` in place of everything kept, whole or not at all, after
    // keeping a copy of what there was where the store can. False when nothing
    // changed.
    virtual bool replace(const RecordData& data) = 0;
    // What went wrong with the store since last asked, in a line for the
    // learner; empty when nothing did.
    virtual std::string takeNotice() = 0;
};

// A record that lives as long as the program: for tests and the replay driver.
class MemoryStore : public RecordStore {
public:
    RecordContents load() override { return contents_; }
    bool write(const RecordChange& change) override;
    bool clear() override;
    std::optional<RecordData> readAll() override;
    bool replace(const RecordData& data) override;
    std::string takeNotice() override { return {}; }

    const std::vector<AnswerEntry>& answers() const { return answers_; }

private:
    RecordContents contents_;
    std::vector<AnswerEntry> answers_;
};

// The store for an option of the program: the SQLite file `file`, or memory
// when `file` is empty.
std::unique_ptr<RecordStore> openRecordStore(const std::string& file);

} // namespace quillory
