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
};

} // namespace quillory
