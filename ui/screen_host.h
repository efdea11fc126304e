// What a screen may ask of the program that holds it: show or hide another
// screen, end the program, where the program's files lie, and files the
// learner hands over or takes away.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

class FileExchange;

// The main menu, where lessons, the quiz and the game lead back to.
inline constexpr std::string_view kMenuScreen = "Form20";

// An answer the learner gave: on which screen, to the question awaited at which
// step, which answer (1 based), and whether it was right where the script says.
struct AnswerNote {
    std::string screen;
    int question = 0;
    int answer = 0;
    std::optional<bool> right;
};

class ScreenHost {
public:
    virtual ~ScreenHost() = default;

    // ShowForm: create the screen on first use (its load runs then), then make it visible.
    virtual void showForm(std::string_view screen) = 0;
    // HideForm: make it invisible, keeping all its state; creates it first if needed.
    virtual void hideForm(std::string_view screen) = 0;
    // EndProgram: at once; every screen disappears and no handler runs any more.
    virtual void endProgram() = 0;
    // The folder of the program and its pictures.
    virtual const std::filesystem::path& programFolder() const = 0;
    // The learner answered a question.
    virtual void answered(const AnswerNote& /*note*/) {}
    // Where files are saved and opened; nullptr when the view offers none.
    virtual FileExchange* fileExchange() { return nullptr; }
};

} // namespace quillory
