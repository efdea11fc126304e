#include "record/record_file.h"

#include "record/dates.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace quillory {

namespace {

constexpr std::string_view Magic = "quillory-record";

constexpr std::size_t MaxScreenName = 40;
constexpr std::int64_t MaxStep = 1'000'000;
constexpr std::int64_t MaxAnswer = 99;
constexpr std::int64_t MaxBox = 5;
constexpr std::int64_t MaxSeq = std::int64_t{1} << 53;

std::string flag(bool value)
{
    return value ? "1" : "0";
}

std::string joined(std::initializer_list<std::string> fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : "\t") + field;
    return line + "\n";
}

std::vector<std::string_view> split(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = line.find(separator);
        fields.push_back(line.substr(0, at));
        if (at == std::string_view::npos)
            return fields;
        line.remove_prefix(at + 1);
    }
}

// Digits only, no sign, within 0 to `most`.
std::optional<std::int64_t> number(std::string_view field, std::int64_t most)
{
    if (field.empty() || field.size() > 18 ||
        !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t value = 0;
    std::from_chars(field.data(), field.data() + field.size(), value);
    if (value > most)
        return std::nullopt;
    return value;
}

std::optional<bool> flagOf(std::string_view field)
{
    if (field == "0" || field == "1")
        return field == "1";
    return std::nullopt;
}

// A screen's name as the program gives them: letters, digits and "_".
bool isScreenName(std::string_view name)
{
    return !name.empty() && name.size() <= MaxScreenName &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_';
           });
}

// One entry line into `data`; false when it is wrong.
class EntryReader {
public:
    explicit EntryReader(RecordData& data) : data_(data) {}

    bool read(const std::vector<std::string_view>& f)
    {
        const std::string_view kind = f[0];
        if (kind == "screen" && f.size() == 6)
            return screen(f);
        if (kind == "question" && f.size() == 4)
            return question(f);
        if (kind == "review" && f.size() == 6)
            return review(f);
        if (kind == "answer" && f.size() == 7)
            return answer(f);
        return false;
    }

private:
    bool screen(const std::vector<std::string_view>& f)
    {
        const auto reached = number(f[2], MaxStep);
        const auto last = number(f[3], MaxStep);
        const auto finished = flagOf(f[4]);
        const bool visited = f[5] != "-";
        if (!isScreenName(f[1]) || !reached || !last || !finished || (visited && !isMoment(f[5])) ||
            !screens_.insert(std::string(f[1])).second)
            return false;
        data_.screens.push_back({std::string(f[1]), static_cast<int>(*reached),
                                 static_cast<int>(*last), *finished,
                                 visited ? std::string(f[5]) : std::string()});
        return true;
    }

    bool question(const std::vector<std::string_view>& f)
    {
        const auto q = number(f[2], MaxStep);
        const auto right = flagOf(f[3]);
        if (!isScreenName(f[1]) || !q || !right ||
            !questions_.emplace(std::string(f[1]), *q).second)
            return false;
        data_.questions.push_back({std::string(f[1]), static_cast<int>(*q), *right});
        return true;
    }

    bool review(const std::vector<std::string_view>& f)
    {
        const auto q = number(f[2], MaxStep);
        const auto box = number(f[3], MaxBox);
        const auto seq = number(f[5], MaxSeq);
        if (!isScreenName(f[1]) || !q || !box || *box < 1 || !isDay(f[4]) || !seq ||
            !reviews_.emplace(std::string(f[1]), *q).second)
            return false;
        data_.reviews.push_back({std::string(f[1]), static_cast<int>(*q), static_cast<int>(*box),
                                 std::string(f[4]), *seq});
        return true;
    }

    bool answer(const std::vector<std::string_view>& f)
    {
        const auto q = number(f[3], MaxStep);
        const auto choice = number(f[4], MaxAnswer);
        const auto right = flagOf(f[5]);
        const auto first = flagOf(f[6]);
        if (!isMoment(f[1]) || !isScreenName(f[2]) || !q || !choice || !right || !first)
            return false;
        data_.answers.push_back({std::string(f[1]), std::string(f[2]), static_cast<int>(*q),
                                 static_cast<int>(*choice), *right, *first});
        return true;
    }

    RecordData& data_;
    std::set<std::string> screens_;
    std::set<std::pair<std::string, std::int64_t>> questions_;
    std::set<std::pair<std::string, std::int64_t>> reviews_;
};

RecordFileRead refused(RecordFileProblem problem, int line = 0)
{
    RecordFileRead read;
    read.problem = problem;
    read.line = line;
    return read;
}

} // namespace

std::string writeRecordFile(const RecordData& data)
{
    RecordData sorted = data;
    std::sort(sorted.screens.begin(), sorted.screens.end(),
              [](const ScreenEntry& a, const ScreenEntry& b) { return a.screen < b.screen; });
    std::sort(sorted.questions.begin(), sorted.questions.end(),
              [](const QuestionEntry& a, const QuestionEntry& b) {
                  return std::tie(a.screen, a.question) < std::tie(b.screen, b.question);
              });
    std::sort(sorted.reviews.begin(), sorted.reviews.end(),
              [](const ReviewEntry& a, const ReviewEntry& b) {
                  return std::tie(a.screen, a.question) < std::tie(b.screen, b.question);
              });

    std::string text = std::string(Magic) + " " + std::to_string(RecordFileVersion) + "\n";
    for (const ScreenEntry& e : sorted.screens)
        text += joined({"screen", e.screen, std::to_string(e.reached), std::to_string(e.last),
                        flag(e.finished), e.lastVisit.empty() ? "-" : e.lastVisit});
    for (const QuestionEntry& q : sorted.questions)
        text += joined({"question", q.screen, std::to_string(q.question), flag(q.firstRight)});
    for (const ReviewEntry& r : sorted.reviews)
        text += joined({"review", r.screen, std::to_string(r.question), std::to_string(r.box),
                        r.due, std::to_string(r.seq)});
    for (const AnswerEntry& a : sorted.answers)
        text += joined({"answer", a.when, a.screen, std::to_string(a.question),
                        std::to_string(a.answer), flag(a.right), flag(a.firstTry)});
    const std::size_t entries = sorted.screens.size() + sorted.questions.size() +
                                sorted.reviews.size() + sorted.answers.size();
    return text + joined({"end", std::to_string(entries)});
}

RecordFileRead readRecordFile(std::string_view text)
{
    if (text.size() > RecordFileLimit)
        return refused(RecordFileProblem::TooLarge);
    // A byte order mark, as some editors add.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::string_view> lines = split(text, '\n');
    for (std::string_view& line : lines) {
        if (line.ends_with('\r'))
            line.remove_suffix(1);
    }
    // The line break after the last line, and blank lines an editor added.
    while (lines.size() > 1 && lines.back().empty())
        lines.pop_back();

    const std::vector<std::string_view> head = split(lines[0], ' ');
    if (head.size() != 2 || head[0] != Magic)
        return refused(RecordFileProblem::NotRecord);
    // A version of any length: one too long to count is newer still.
    std::string_view version = head[1];
    if (version.empty() || version.find_first_not_of("0123456789") != std::string_view::npos)
        return refused(RecordFileProblem::NotRecord);
    while (version.size() > 1 && version.front() == '0')
        version.remove_prefix(1);
    if (version.size() > 9 || *number(version, MaxSeq) > RecordFileVersion)
        return refused(RecordFileProblem::Newer);
    if (version == "0")
        return refused(RecordFileProblem::NotRecord);

    RecordFileRead read;
    EntryReader entries(read.data);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const std::vector<std::string_view> fields = split(lines[i], '\t');
        if (fields[0] == "end") {
            const auto count = fields.size() == 2 ? number(fields[1], MaxSeq) : std::nullopt;
            if (!count || static_cast<std::size_t>(*count) != i - 1)
                return refused(RecordFileProblem::Damaged, lineNumber);
            if (i + 1 != lines.size())
                return refused(RecordFileProblem::Damaged, lineNumber + 1);
            return read;
        }
        if (!entries.read(fields))
            return refused(RecordFileProblem::Damaged, lineNumber);
    }
    // No end line: cut short.
    return refused(RecordFileProblem::Damaged, static_cast<int>(lines.size()) + 1);
}

} // namespace quillory
