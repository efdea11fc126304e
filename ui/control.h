// Plain model of one control on a screen: what the view draws and the driver reads.
#pragma once

#include <optional>
#include <string>

namespace quillory {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Twips in one pixel at scale 1.
inline constexpr int kTwipsPerPixel = 15;

// Position and size in twips.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class ControlKind { Button, Text, Label, Picture };

// How far the screen a menu button opens got.
struct Progress {
    int reached = 0;
    int last = 0;
    bool finished = false;
    int firstTryRight = 0;
    int firstTryAsked = 0;
    std::string summary; // in a line, for a tooltip
    friend bool operator==(const Progress&, const Progress&) = default;
};

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Button;
    Rect rect;
    bool visible = true;
    // Button caption, or the text of a text box or label. Line breaks are CR LF.
    std::string text;
    // Text boxes: whether a vertical scroll bar is configured.
    bool scrollbar = false;
    // Text boxes: what the box holds (会話, 説明, 問題), as a screen reader names it.
    std::string role;
    // Labels and text boxes: background colour, if not the default.
    std::optional<Rgb> background;
    // Picture boxes: the bare file name last shown, empty if none.
    std::string picture;
    // Picture boxes: counts ShowPicture calls, so the view reloads even the same name.
    unsigned pictureLoads = 0;
    // A control the program adds beyond the screens of its script.
    bool addition = false;
    // Menu buttons that open a lesson, the quiz or the game: how far it got.
    std::optional<Progress> progress;
    // The review's menu button: how many questions are due today.
    std::optional<int> due;
};

} // namespace quillory
