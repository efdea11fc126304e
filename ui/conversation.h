// What a scripted screen has shown in its text box since it was last entered,
// each text marked with who said it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

enum class Speaker {
    Learner,  // the learner's Talk button
    Teacher,  // the teacher's button, and the lesson's greeting
    Partner,  // the game's partner, the greeting, retries and moves
    Feedback, // what an answer button brings
    Question, // a text that puts a question, with its answer buttons
    Answer,   // the learner's answer: its button and whether it was right
};

// The short Japanese label the history shows for a speaker.
std::string_view speakerLabel(Speaker who);

struct Said {
    Speaker who = Speaker::Teacher;
    std::string text; // as the text box showed it, lines broken by CR LF
    friend bool operator==(const Said&, const Said&) = default;
};

class Conversation {
public:
    // Logs a text the box has just shown; an empty text, or one the box already
    // showed just before, is not logged.
    void add(Speaker who, std::string text);
    // Logs the learner's answer: the button's caption, and whether it was right
    // where the script says which answer is.
    void addAnswer(std::string_view caption, std::optional<bool> right);
    void clear() { said_.clear(); }
    const std::vector<Said>& said() const { return said_; }
    bool empty() const { return said_.empty(); }

private:
    std::vector<Said> said_;
};

// The conversation as plain text, oldest first: each text under its speaker's
// label, without the empty lines of the text box, lines broken by LF and a
// blank line between two texts.
std::string conversationText(const Conversation& conversation);

} // namespace quillory
