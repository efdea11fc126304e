// What a screen may ask of the program that holds it: show or hide another
// screen, end the program, and where the program's files lie.
#pragma once

#include <filesystem>
#include <string_view>

namespace quillory {

// The main menu, where lessons, the quiz and the game lead back to.
inline constexpr std::string_view kMenuScreen = "Form20";

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
};

} // namespace quillory
