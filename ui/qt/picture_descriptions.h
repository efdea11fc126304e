// What each picture of the program shows, for screen readers.
#pragma once

#include <QString>

namespace quillory {

struct PictureText {
    QString name;        // short: who or what
    QString description; // a sentence on what the picture shows
};

// By bare file name; a name the program does not know gives a plain text naming the file.
PictureText pictureText(const QString& file);

} // namespace quillory
