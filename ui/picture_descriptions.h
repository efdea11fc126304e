// What each picture of the program shows, for screen readers: a short name and a
// sentence, the same in every view.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

struct PictureDescription {
    std::string name;        // short: who or what
    std::string description; // a sentence on what the picture shows
};

// By bare file name ("gal1.bmp"); a name the program does not know gives a plain
// text naming the file.
PictureDescription describePicture(std::string_view file);

} // namespace quillory
