#include "record/learner_record.h"

#include "record/dates.h"
#include "record/record_file.h"

#include <algorithm>
#include <tuple>

namespace quillory {

LearnerRecord::LearnerRecord(std::unique_ptr<RecordStore> store) : store_(std::move(store))
{
    restore(store_->load());
}

void LearnerRecord::restore(RecordContents contents)
{
    screens_.clear();
    reviews_.clear();
    seq_ = 0;
    for (auto& entry : contents.screens)
        screen(entry.screen).entry = entry;
    for (const auto& q : contents.questions)
        screen(q.screen).firstRight[q.question] = q.firstRight;
    for (auto& r : contents.reviews) {
        seq_ = std::max(seq_, r.seq);
        reviews_[{r.screen, r.question}] = r;
    }
    answers_ = contents.answers;
}

LearnerRecord::Screen& LearnerRecord::screen(const std::string& name)
{
    auto [it, added] = screens_.try_emplace(name);
    if (added)
        it->second.entry.screen = name;
    return it->second;
}

ReviewEntry& LearnerRecord::schedule(const std::string& screen, int question, int box,
                                     std::string due)
{
    return reviews_[{screen, question}] =
               ReviewEntry{screen, question, box, std::move(due), ++seq_};
}

void LearnerRecord::entered(const std::string& name, const std::string& when)
{
    auto& s = screen(name);
    s.thisVisit.clear();
    s.entry.lastVisit = when;
    RecordChange change;
    change.screen = s.entry;
    store_->write(change);
}

void LearnerRecord::answered(const std::string& name, int question, int answer, bool right,
                             const std::string& when)
{
    auto& s = screen(name);
    bool first = s.thisVisit.insert(question).second;
    RecordChange change;
    change.answer = AnswerEntry{when, name, question, answer, right, first};
    if (first) {
        s.firstRight[question] = right;
        change.question = QuestionEntry{name, question, right};
    }
    if (!right)
        change.schedule = schedule(name, question, 1, dayOf(when));
    ++answers_;
    store_->write(change);
}

void LearnerRecord::reached(const std::string& name, int step, int lastStep, bool finished)
{
    auto& e = screen(name).entry;
    auto was = std::make_tuple(e.reached, e.last, e.finished);
    e.reached = std::max(e.reached, step);
    e.last = lastStep;
    e.finished = e.finished || finished;
    if (std::make_tuple(e.reached, e.last, e.finished) == was)
        return;
    RecordChange change;
    change.screen = e;
    store_->write(change);
}

ScreenProgress LearnerRecord::progress(const std::string& name) const
{
    ScreenProgress p;
    auto it = screens_.find(name);
    if (it == screens_.end())
        return p;
    const auto& s = it->second;
    p.reached = s.entry.reached;
    p.last = s.entry.last;
    p.finished = s.entry.finished;
    p.lastVisit = s.entry.lastVisit;
    p.firstTryAsked = static_cast<int>(s.firstRight.size());
    p.firstTryRight = static_cast<int>(
        std::count_if(s.firstRight.begin(), s.firstRight.end(), [](auto& q) { return q.second; }));
    return p;
}

std::vector<DueQuestion> LearnerRecord::due(const std::string& today) const
{
    std::vector<const ReviewEntry*> entries;
    for (const auto& [key, r] : reviews_) {
        if (r.due <= today)
            entries.push_back(&r);
    }
    std::sort(entries.begin(), entries.end(), [](const ReviewEntry* a, const ReviewEntry* b) {
        return std::tie(a->due, a->seq, a->screen, a->question) <
               std::tie(b->due, b->seq, b->screen, b->question);
    });
    std::vector<DueQuestion> due;
    for (const auto* r : entries)
        due.push_back({r->screen, r->question, r->box, r->due});
    return due;
}

std::optional<std::string> LearnerRecord::nextDue(const std::string& today) const
{
    std::optional<std::string> next;
    for (const auto& [key, r] : reviews_) {
        if (r.due > today && (!next || r.due < *next))
            next = r.due;
    }
    return next;
}

void LearnerRecord::reviewed(const std::string& name, int question, bool right,
                             const std::string& today)
{
    auto it = reviews_.find({name, question});
    int box = it == reviews_.end() ? 0 : it->second.box;
    RecordChange change;
    if (right && box == 0)
        return;
    if (right && box == ReviewBoxes) {
        reviews_.erase(it);
        change.retire = QuestionKey{name, question};
    } else {
        int next = right ? box + 1 : 1;
        change.schedule = schedule(name, question, next, addDays(today, ReviewDays[next]));
    }
    store_->write(change);
}

std::optional<int> LearnerRecord::box(const std::string& screen, int question) const
{
    auto it = reviews_.find({screen, question});
    if (it == reviews_.end())
        return std::nullopt;
    return it->second.box;
}

bool LearnerRecord::clear()
{
    if (!store_->clear())
        return false;
    screens_.clear();
    reviews_.clear();
    seq_ = 0;
    answers_ = 0;
    return true;
}

std::optional<std::string> LearnerRecord::exportText()
{
    const std::optional<RecordData> data = store_->readAll();
    if (!data)
        return std::nullopt;
    return writeRecordFile(*data);
}

RecordImport LearnerRecord::importText(std::string_view text)
{
    using Outcome = RecordImport::Outcome;
    RecordFileRead read = readRecordFile(text);
    switch (read.problem) {
    case RecordFileProblem::None:
        break;
    case RecordFileProblem::NotRecord:
        return {Outcome::NotRecord};
    case RecordFileProblem::Newer:
        return {Outcome::Newer};
    case RecordFileProblem::TooLarge:
        return {Outcome::TooLarge};
    case RecordFileProblem::Damaged:
        return {Outcome::Damaged, read.line};
    }
    if (!store_->replace(read.data))
        return {Outcome::NotKept};
    // What the store now holds, so memory and store agree without reading it back.
    const auto answers = static_cast<std::int64_t>(read.data.answers.size());
    restore({std::move(read.data.screens), std::move(read.data.questions),
             std::move(read.data.reviews), answers});
    return {Outcome::Imported};
}

std::string fullWidthNumber(int n)
{
    std::string digits = std::to_string(n);
    std::string wide;
    for (char c : digits) {
        if (c == '-') {
            wide += "－";
            continue;
        }
        // U+FF10 to U+FF19.
        wide += {'\xEF', '\xBC', static_cast<char>(0x90 + (c - '0'))};
    }
    return wide;
}

std::string progressSummary(const ScreenProgress& p)
{
    if (p.finished) {
        if (p.firstTryAsked == 0)
            return "完了";
        return "完了・初回正答 " + std::to_string(p.firstTryRight) + "/" +
               std::to_string(p.firstTryAsked);
    }
    if (p.firstTryAsked > 0)
        return "進行中・第" + fullWidthNumber(p.firstTryAsked) + "問まで";
    if (p.reached > 0 || !p.lastVisit.empty())
        return "進行中";
    return "未学習";
}

} // namespace quillory
