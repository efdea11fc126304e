// The program's look: style and Japanese fonts.
#pragma once

#include <QFont>

class QApplication;

namespace quillory {

// Fusion style and a Japanese face for every widget, so kanji get Japanese glyph forms.
void applyLook(QApplication& app);

// The font of dialogue text boxes.
QFont textBoxFont();

} // namespace quillory
