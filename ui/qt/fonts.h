// The program's look: style and Japanese fonts.
#pragma once

#include <QFont>

class QApplication;

namespace quillory {

// The size of text at scale 1, in pixels.
inline constexpr int kTextPixels = 12;

// Fusion style and a Japanese face for every widget, so kanji get Japanese glyph forms.
void applyLook(QApplication& app);

// Qt's own Japanese translations (its standard menus and dialogs), when installed.
void loadQtTranslations(QApplication& app);

// The Japanese face at a pixel size (fractional sizes round to the nearest pixel).
QFont japaneseFont(qreal pixels);

} // namespace quillory
