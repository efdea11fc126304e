#include "ui/conversation.h"

#include <utility>

namespace quillory {

std::string_view speakerLabel(Speaker who)
{
    switch (who) {
    case Speaker::Learner:
        return "あなた";
    case Speaker::Teacher:
        return "先生";
    case Speaker::Partner:
        return "相手";
    case Speaker::Feedback:
        return "答え合わせ";
    case Speaker::Question:
        return "出題";
    case Speaker::Answer:
        return "あなたの答え";
    }
    return "";
}

void Conversation::add(Speaker who, std::string text)
{
    if (text.empty())
        return;
    // The box's own texts: the answers logged between them do not count.
    for (auto it = said_.rbegin(); it != said_.rend(); ++it) {
        if (it->who == Speaker::Answer)
            continue;
        if (it->text == text)
            return;
        break;
    }
    said_.push_back({who, std::move(text)});
}

void Conversation::addAnswer(std::string_view caption, std::optional<bool> right)
{
    std::string text(caption);
    if (right)
        text += *right ? "（正解）" : "（不正解）";
    said_.push_back({Speaker::Answer, std::move(text)});
}

namespace {

std::string withoutCarriageReturns(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r')
            out += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n')
            out += '\n'; // a lone CR breaks the line too
    }
    return out;
}

} // namespace

std::string conversationText(const Conversation& conversation)
{
    std::string out;
    for (const Said& said : conversation.said()) {
        std::string text = withoutCarriageReturns(said.text);
        const std::size_t first = text.find_first_not_of('\n');
        const std::size_t last = text.find_last_not_of('\n');
        if (first == std::string::npos)
            continue;
        if (!out.empty())
            out += "\n\n";
        out += "【";
        out += speakerLabel(said.who);
        // An answer stands on its label's line.
        out += said.who == Speaker::Answer ? "】" : "】\n";
        // The box's empty lines between lines are left out: the labels part the texts.
        bool lineBreak = false;
        for (char c : text.substr(first, last - first + 1)) {
            if (c == '\n') {
                if (!lineBreak)
                    out += c;
                lineBreak = true;
            } else {
                out += c;
                lineBreak = false;
            }
        }
    }
    return out;
}

} // namespace quillory
