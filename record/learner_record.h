// The learner's record: every answer, how far each screen got, and a review
// schedule of missed questions in five boxes. It keeps everything in memory and
// writes each change through a store; when the store fails, it goes on in
// memory alone.
#pragma once

#include "record/record_store.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillory {

// How far a screen got. Of the questions answered so far, firstTryAsked counts
// them and firstTryRight those right at the first try of their latest visit.
struct ScreenProgress {
    int reached = 0;
    int last = 0;
    bool finished = false;
    int firstTryRight = 0;
    int firstTryAsked = 0;
    std::string lastVisit; // "YYYY-MM-DD HH:MM:SS", "" when never entered
};

struct DueQuestion {
    std::string screen;
    int question = 0;
    int box = 1;
    std::string due;
};

// Days until a question is due again after moving up to box 2, 3, 4 and 5.
inline constexpr int ReviewDays[] = {0, 0, 1, 3, 7, 14};
inline constexpr int ReviewBoxes = 5;

// What became of a record file offered in place of the record.
struct RecordImport {
    enum class Outcome {
        Imported,
        NotRecord,
        Newer,
        TooLarge,
        Damaged, // at `line`
        NotKept, // the store could not take it: nothing changed
    };
    Outcome outcome = Outcome::Imported;
    int line = 0;
};

class LearnerRecord {
public:
    // Reads back everything the store holds.
    explicit LearnerRecord(std::unique_ptr<RecordStore> store);

    // Moments are "YYYY-MM-DD HH:MM:SS" and days "YYYY-MM-DD", from the
    // caller's clock. A visit starts when a screen is entered.
    void entered(const std::string& screen, const std::string& when);
    // An answer to the question shown at step `question`; a wrong one puts the
    // question in box 1, due the day it was missed.
    void answered(const std::string& screen, int question, int answer, bool right,
                  const std::string& when);
    // The screen shows step `step` of `lastStep`; `finished` once it ended.
    void reached(const std::string& screen, int step, int lastStep, bool finished);

    ScreenProgress progress(const std::string& screen) const;
    std::int64_t answerCount() const { return answers_; }

    // The questions due by `today`, the longest waiting first.
    std::vector<DueQuestion> due(const std::string& today) const;
    // The first day after `today` a question is due, if any is.
    std::optional<std::string> nextDue(const std::string& today) const;
    // A review answer: right moves the question up a box (out after box 5),
    // wrong sends it back to box 1, due at once.
    void reviewed(const std::string& screen, int question, bool right, const std::string& today);
    // The question's box, if it is in the schedule.
    std::optional<int> box(const std::string& screen, int question) const;

    // Starts afresh, the store first keeping a copy where it can. False when
    // the store could not, and then nothing is forgotten.
    bool clear();
    // Everything the store holds as a record file's text (see record_file.h);
    // none when the store cannot read it back.
    std::optional<std::string> exportText();
    // Puts the record in `text` in place of this one, the store first keeping
    // a copy where it can: all of it, or nothing when the text is refused or the
    // store cannot take it.
    RecordImport importText(std::string_view text);

    // What went wrong with the record since last asked, in one line; empty when
    // nothing did.
    std::string takeNotice() { return store_->takeNotice(); }

    RecordStore& store() { return *store_; }

private:
    struct Screen {
        ScreenEntry entry;
        std::map<int, bool> firstRight;
        std::set<int> thisVisit;
    };
    using Key = std::pair<std::string, int>;

    // Forgets what is in memory and takes `contents` instead.
    void restore(RecordContents contents);
    Screen& screen(const std::string& name);
    ReviewEntry& schedule(const std::string& screen, int question, int box, std::string due);

    std::unique_ptr<RecordStore> store_;
    std::map<std::string, Screen> screens_;
    std::map<Key, ReviewEntry> reviews_;
    std::int64_t seq_ = 0;
    std::int64_t answers_ = 0;
};

// The progress in a line for a tooltip: 「未学習」, 「進行中」, 「進行中・第３問まで」
// (questions answered so far), 「完了」 or 「完了・初回正答 7/9」.
std::string progressSummary(const ScreenProgress& progress);

// `n` in full-width digits: 12 -> "１２".
std::string fullWidthNumber(int n);

} // namespace quillory
