#include "ui/read_aloud.h"

#include <algorithm>
#include <cctype>

namespace quillory {

namespace {

// One line as code points: invalid UTF-8 bytes become U+FFFD, which is not
// English and so is never read.
std::u32string decode(std::string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
        if (len > 1 && (c < 0xC2 || c > 0xF4 || i + len > text.size())) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            ok = ok && (d & 0xC0) == 0x80;
            cp = (cp << 6) | (d & 0x3F);
        }
        out += ok ? cp : U'\uFFFD';
        i += ok ? len : 1;
    }
    return out;
}

bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\u3000';
}

// A choice number: 1 to 9, half or full width.
int digitOf(char32_t c)
{
    if (c >= U'1' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'\uFF11' && c <= U'\uFF19')
        return static_cast<int>(c - U'\uFF10');
    return 0;
}

std::u32string trimmed(std::u32string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isSpace(s[b]))
        ++b;
    while (e > b && isSpace(s[e - 1]))
        --e;
    return std::u32string(s.substr(b, e - b));
}

bool isAsciiLetter(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

bool isOpen(char32_t c)
{
    return c == U'(' || c == U'\uFF08';
}

bool isClose(char32_t c)
{
    return c == U')' || c == U'\uFF09';
}

// The ASCII stretches of a text: English words among Japanese. Before they are
// cut out, a blank "（　）" becomes "( )", a half-width bracket holding no
// English ("very(副詞) happy", "(1)") gives way to a space so that the English
// around it stays one stretch, and "¥10,000" becomes "10,000 yen".
std::vector<std::string> asciiRuns(std::u32string_view text)
{
    std::u32string s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (isOpen(c)) {
            std::size_t close = i + 1;
            while (close < text.size() && !isOpen(text[close]) && !isClose(text[close]))
                ++close;
            if (close < text.size() && isClose(text[close])) {
                const std::u32string_view inside = text.substr(i + 1, close - i - 1);
                const bool blank = std::all_of(inside.begin(), inside.end(), isSpace);
                const bool gloss = c == U'(' && text[close] == U')' &&
                                   std::none_of(inside.begin(), inside.end(), isAsciiLetter);
                if (blank || gloss) {
                    s += blank ? U"( )" : U" ";
                    i = close;
                    continue;
                }
            }
        }
        if (c == U'\u00A5' || c == U'\uFFE5') {
            std::size_t end = i + 1;
            while (end < text.size() &&
                   ((text[end] >= U'0' && text[end] <= U'9') || text[end] == U','))
                ++end;
            if (end > i + 1) {
                s.append(text.substr(i + 1, end - i - 1));
                s += U" yen";
                i = end - 1;
                continue;
            }
        }
        s += c;
    }
    std::vector<std::string> runs;
    std::string run;
    for (char32_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            run += static_cast<char>(c);
        } else if (!run.empty()) {
            runs.push_back(run);
            run.clear();
        }
    }
    if (!run.empty())
        runs.push_back(run);
    return runs;
}

bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Grammar symbols standing alone ("S V O", "A", "(S V C)", "IO"): every word
// one capital other than I, or IO or DO.
bool isNotation(std::string_view text)
{
    bool any = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(' ', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string letters;
        for (char c : text.substr(pos, end - pos)) {
            if (isLetter(c))
                letters += c;
        }
        pos = end + 1;
        if (letters.empty())
            continue;
        any = true;
        const bool symbol = (letters.size() == 1 && letters != "I" &&
                             std::isupper(static_cast<unsigned char>(letters[0]))) ||
                            letters == "IO" || letters == "DO";
        if (!symbol)
            return false;
    }
    return any;
}

// One stretch of English made ready for a voice: blanks read as "blank"
// between pauses, parentheses as pauses, marks that are no words dropped.
std::string spoken(const std::string& run)
{
    if (std::none_of(run.begin(), run.end(), isLetter))
        return {}; // a blank or a number among Japanese
    std::string s;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const char c = run[i];
        if (c == '(') {
            const std::size_t close = run.find(')', i);
            const std::string_view inside =
                close == std::string::npos ? std::string_view()
                                           : std::string_view(run).substr(i + 1, close - i - 1);
            if (close != std::string::npos &&
                inside.find_first_not_of(' ') == std::string_view::npos) {
                s += " , blank, ";
                i = close;
                continue;
            }
            if (close != std::string::npos && isNotation(inside)) {
                s += ' '; // "He(S) seemed(V)": the symbols are not read
                i = close;
                continue;
            }
            s += " , ";
        } else if (c == ')') {
            s += " , ";
        } else if (c == '+' || c == '*' || c == '=' || c == '<' || c == '>' || c == '[' ||
                   c == ']' || c == '_' || c == '|' || c == '~' || c == '^' || c == '#' ||
                   c == '"') {
            s += ' ';
        } else {
            s += c;
        }
    }
    // Tidy spaces and pauses: one space between words, none before a comma,
    // no pause twice in a row, none at either end.
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ' ') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else if (c == ',') {
            while (!out.empty() && out.back() == ' ')
                out.pop_back();
            if (!out.empty() && out.back() != ',' && out.back() != '.' && out.back() != '?' &&
                out.back() != '!')
                out += ',';
        } else if ((c == '.' || c == '?' || c == '!') && !out.empty() &&
                   (out.back() == ' ' || out.back() == ',') &&
                   (i + 1 >= s.size() || s[i + 1] == ' ')) {
            // A sentence's end after a dropped symbol or pause: "a doctor(C)."
            while (!out.empty() && (out.back() == ' ' || out.back() == ','))
                out.pop_back();
            out += c;
        } else {
            out += c;
        }
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ','))
        out.pop_back();
    std::size_t start = 0;
    while (start < out.size() && (out[start] == ' ' || out[start] == ','))
        ++start;
    out.erase(0, start);
    return isNotation(out) ? std::string() : out;
}

// The English of one piece of a line, as one utterance (empty if none).
std::string englishOf(std::u32string_view piece)
{
    std::string joined;
    for (const std::string& run : asciiRuns(piece)) {
        const std::string words = spoken(run);
        if (words.empty())
            continue;
        if (!joined.empty())
            joined += ' ';
        joined += words;
    }
    return joined;
}

void add(std::vector<std::string>& out, std::string utterance)
{
    if (!utterance.empty())
        out.push_back(std::move(utterance));
}

// "1 come    2 came    3 will come": the text of each choice, numbers left out.
// Each next number must follow a space and stand before a space or the end.
std::vector<std::u32string> choicesOf(std::u32string_view line)
{
    std::vector<std::u32string> choices;
    int next = digitOf(line[0]) + 1;
    std::size_t start = 1;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (digitOf(line[i]) == next && isSpace(line[i - 1]) &&
            (i + 1 == line.size() || isSpace(line[i + 1]))) {
            choices.push_back(trimmed(line.substr(start, i - start)));
            start = i + 1;
            ++next;
        }
    }
    choices.push_back(trimmed(line.substr(start)));
    return choices;
}

// Marks that open a line of a list or an example: "(1)", "1.", "*", "=", "-".
std::u32string withoutListMark(const std::u32string& line)
{
    std::size_t i = 0;
    if (line[0] == U'(') {
        i = 1;
        while (i < line.size() && line[i] >= U'0' && line[i] <= U'9')
            ++i;
        if (i > 1 && i < line.size() && line[i] == U')')
            return trimmed(std::u32string_view(line).substr(i + 1));
        return line;
    }
    while (i < line.size() && line[i] >= U'0' && line[i] <= U'9')
        ++i;
    if (i > 0 && i + 1 < line.size() && (line[i] == U'.' || line[i] == U')') &&
        isSpace(line[i + 1]))
        return trimmed(std::u32string_view(line).substr(i + 1));
    if (line[0] == U'*' || line[0] == U'=' || line[0] == U'-')
        return trimmed(std::u32string_view(line).substr(1));
    return line;
}

// Where a word list's words begin: after "語群：" (or "語群:") in the line, or
// npos when the line has no word list.
std::size_t wordListStart(std::u32string_view line)
{
    for (std::size_t at = line.find(U"語群"); at != std::u32string_view::npos;
         at = line.find(U"語群", at + 1)) {
        std::size_t colon = at + 2;
        while (colon < line.size() && isSpace(line[colon]))
            ++colon;
        if (colon < line.size() && (line[colon] == U':' || line[colon] == U'\uFF1A'))
            return colon + 1;
    }
    return std::u32string_view::npos;
}

bool allAscii(std::u32string_view line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char32_t c) { return (c >= 0x20 && c < 0x7F) || isSpace(c); });
}

} // namespace

std::vector<std::string> englishToRead(std::string_view text)
{
    std::vector<std::string> out;
    const std::u32string all = decode(text);
    bool open = false;     // the last utterance is a sentence going on into the next line
    bool wordList = false; // the last line was a word list, which may go on
    auto words = [&](std::u32string_view list) {
        // Each word or phrase of a word list on its own.
        while (!list.empty()) {
            const std::size_t comma = list.find_first_of(U",\u3001");
            add(out, englishOf(list.substr(0, comma)));
            list = comma == std::u32string::npos ? std::u32string_view() : list.substr(comma + 1);
        }
    };
    std::size_t pos = 0;
    while (pos <= all.size()) {
        std::size_t end = all.find_first_of(U"\r\n", pos);
        if (end == std::u32string::npos)
            end = all.size();
        std::u32string line = trimmed(std::u32string_view(all).substr(pos, end - pos));
        pos = end + 1;
        if (line.empty())
            continue;
        if (wordList && allAscii(line) && line.find(U',') != std::u32string::npos) {
            words(line); // "語群：I spoke to her" then "whom I spoke to her,   whom I spoke"
            open = false;
            continue;
        }
        const std::size_t list = wordListStart(line);
        wordList = list != std::u32string::npos;
        if (wordList) {
            // A sentence may stand before the list on the same line.
            const std::u32string before =
                trimmed(std::u32string_view(line).substr(0, line.find(U"語群")));
            for (const std::string& run : asciiRuns(before))
                add(out, spoken(run));
            words(std::u32string_view(line).substr(list));
        } else if (digitOf(line[0]) != 0 && line.size() > 1 && isSpace(line[1])) {
            for (const std::u32string& choice : choicesOf(line))
                add(out, englishOf(choice));
        } else {
            const std::u32string body = withoutListMark(line);
            // A sentence the line before left open goes on here: "... at the
            // wedding" then "party, I had to ...".
            bool goesOn = open && !body.empty() && body[0] >= U'a' && body[0] <= U'z';
            bool added = false;
            for (const std::string& run : asciiRuns(body)) {
                std::string said = spoken(run);
                if (said.empty())
                    continue;
                if (goesOn)
                    out.back() += (out.back().ends_with("blank") ? ", " : " ") + said;
                else
                    out.push_back(std::move(said));
                goesOn = false;
                added = true;
            }
            // Open: the line ends in English without a sentence's end, and what
            // it added begins like a sentence.
            const char32_t last = body.empty() ? U'.' : body.back();
            open = added && last >= 0x20 && last < 0x7F && last != U'.' && last != U'?' &&
                   last != U'!' && last != U':' &&
                   std::isupper(static_cast<unsigned char>(out.back()[0]));
            continue;
        }
        open = false;
    }
    return out;
}

std::optional<std::string> SpeechPacing::start(const std::vector<std::string>& utterances)
{
    if (lost_)
        return std::nullopt;
    lastChance_ = inError_;
    queue_.assign(utterances.begin(), utterances.end());
    active_ = !queue_.empty();
    return next();
}

void SpeechPacing::stop()
{
    queue_.clear();
    active_ = false;
}

std::optional<std::string> SpeechPacing::next()
{
    if (queue_.empty()) {
        active_ = false;
        return std::nullopt;
    }
    std::string utterance = std::move(queue_.front());
    queue_.pop_front();
    return utterance;
}

void SpeechPacing::onSpeaking()
{
    spoke_ = true;
    inError_ = false;
    lastChance_ = false;
}

std::optional<std::string> SpeechPacing::onReady()
{
    if (spoke_)
        errorsInRow_ = 0;
    spoke_ = false;
    inError_ = false;
    lastChance_ = false;
    return active_ ? next() : std::nullopt;
}

bool SpeechPacing::onError()
{
    if (lost_)
        return false;
    spoke_ = false;
    inError_ = true;
    if (++errorsInRow_ < kErrorsToGiveUp && !lastChance_)
        return false;
    stop();
    lost_ = true;
    return true;
}

ReadAloud::Result ReadAloud::press(std::string_view text)
{
    if (output_.speaking()) {
        output_.stop();
        return {Outcome::Stopped, {}};
    }
    if (!output_.available()) {
        const bool tell = !toldNoVoice_;
        toldNoVoice_ = true;
        return {Outcome::NoVoice, tell ? std::string(kNoVoiceNotice) : std::string()};
    }
    const std::vector<std::string> utterances = englishToRead(text);
    if (utterances.empty())
        return {Outcome::NothingToRead, std::string(kNothingNotice)};
    output_.speak(utterances);
    return {Outcome::Started, {}};
}

std::string ReadAloud::voiceLost()
{
    if (toldNoVoice_)
        return {};
    toldNoVoice_ = true;
    return std::string(kNoVoiceNotice);
}

void ReadAloud::stop()
{
    if (output_.speaking())
        output_.stop();
}

} // namespace quillory
