// The effect words of the script tables, shared by lessons and the game.
#pragma once

#include <string>
#include <vector>

namespace quillory {

enum class EffectKind {
    SetText,     // replace the dialogue text
    WriteLines,  // replace the dialogue text by lines in the WriteLines layout
    ShowChoices, // make the listed answer buttons visible
    HideChoices, // make the listed answer buttons invisible
    ShowPicture, // load a bitmap by bare file name into the picture box
    ShowForm,    // navigator: show a screen
    HideForm,    // navigator: hide a screen
    ShowAgain,   // game: show the retry button
    HideAgain,   // game: hide the retry button
    ShowMove,    // game: show the move button
    HideMove,    // game: hide the move button
};

struct Effect {
    EffectKind kind = EffectKind::SetText;
    // SetText: the text; WriteLines: the lines; ShowPicture: the file; Show/HideForm: the screen.
    std::vector<std::string> lines;
    // ShowChoices / HideChoices: answer numbers, 1 based.
    std::vector<int> choices;

    // The one text of SetText, ShowPicture, ShowForm and HideForm.
    const std::string& text() const;
};

// What is wrong with one effect of a script on a screen with choiceCount answer
// buttons: a missing text, an answer button the screen lacks, a picture not among
// the given files. Empty when sound.
std::vector<std::string> effectProblems(const Effect& effect, int choiceCount,
                                        const std::vector<std::string>& pictures);

Effect SetText(std::string text);
Effect WriteLines(std::vector<std::string> lines);
Effect ShowChoices(std::vector<int> choices);
Effect HideChoices(std::vector<int> choices);
Effect ShowPicture(std::string file);
Effect ShowForm(std::string screen);
Effect HideForm(std::string screen);
Effect ShowAgain();
Effect HideAgain();
Effect ShowMove();
Effect HideMove();

} // namespace quillory
