#include "ui/qt/text_label.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace quillory {

namespace {

constexpr int kIndent = 4;

} // namespace

TextLabel::TextLabel(QWidget* parent) : QWidget(parent) {}

void TextLabel::setText(const QString& text)
{
    text_ = text;
    update();
}

void TextLabel::setBackground(const QColor& colour)
{
    background_ = colour;
    update();
}

void TextLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (background_.isValid())
        painter.fillRect(rect(), background_);

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextLayout layout(text_, font());
    layout.setTextOption(option);
    layout.beginLayout();
    const qreal width = std::max(1, this->width() - 2 * kIndent);
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
    }
    layout.endLayout();
    const int lines = layout.lineCount();
    if (lines == 0)
        return;

    const QFontMetricsF metrics(font());
    // The ink of a line sits within about one em; the font's own spacing is looser.
    const qreal em = font().pixelSize() > 0 ? font().pixelSize() : metrics.height();
    const bool tight = lines * metrics.lineSpacing() > height();
    const qreal step = tight ? std::min(std::max(em * 1.02, static_cast<qreal>(height()) / lines),
                                        metrics.lineSpacing())
                             : metrics.lineSpacing();
    const qreal ink = tight ? em : metrics.ascent() + metrics.descent();
    const qreal ascent = tight ? em * 0.88 : metrics.ascent();
    const qreal total = (lines - 1) * step + ink;
    const qreal top = std::max<qreal>(0, (height() - total) / 2);

    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < lines; ++i) {
        QTextLine line = layout.lineAt(i);
        const qreal baseline = top + i * step + ascent;
        line.draw(&painter, QPointF(kIndent, baseline - line.ascent()));
    }
}

} // namespace quillory
