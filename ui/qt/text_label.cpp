#include "ui/qt/text_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace quillory {

namespace {

// The room left of the text: a third of an em, 4 pixels at scale 1.
int indent(const QFont& font)
{
    return std::max(1, font.pixelSize() / 3);
}

qsizetype trailingSpaces(const QString& line)
{
    qsizetype n = 0;
    while (n < line.size() && line.at(line.size() - 1 - n).isSpace())
        ++n;
    return n;
}

bool hasSpace(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

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

QStringList TextLabel::lines() const
{
    const qreal width = std::max(1, this->width() - 2 * indent(font()));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextLayout layout(text_, font());
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList out;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        out << text_.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();

    // Spaces that end a line pad the next one, if it still fits with them.
    const QFontMetricsF metrics(font());
    for (qsizetype i = 1; i < out.size(); ++i) {
        const qsizetype spaces = trailingSpaces(out[i - 1]);
        if (spaces == 0 || spaces == out[i - 1].size())
            continue;
        const QString pad = out[i - 1].right(spaces);
        QString next = out[i];
        next.chop(trailingSpaces(next));
        if (metrics.horizontalAdvance(pad + next) <= width) {
            out[i - 1].chop(spaces);
            out[i].prepend(pad);
        }
    }
    return out;
}

void TextLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (background_.isValid())
        painter.fillRect(rect(), background_);

    const QStringList lines = this->lines();
    if (lines.isEmpty())
        return;
    const qsizetype count = lines.size();

    const QFontMetricsF metrics(font());
    // The ink of a line sits within about one em; the font's own spacing is looser.
    const qreal em = font().pixelSize() > 0 ? font().pixelSize() : metrics.height();
    const bool tight = count * metrics.lineSpacing() > height();
    const qreal step = tight ? std::min(std::max(em * 1.02, static_cast<qreal>(height()) / count),
                                        metrics.lineSpacing())
                             : metrics.lineSpacing();
    const qreal ink = tight ? em : metrics.ascent() + metrics.descent();
    const qreal ascent = tight ? em * 0.88 : metrics.ascent();
    const qreal total = (count - 1) * step + ink;
    const qreal top = std::max<qreal>(0, (height() - total) / 2);
    const bool centred = !hasSpace(text_);

    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    for (qsizetype i = 0; i < count; ++i) {
        QString line = lines[i];
        line.chop(trailingSpaces(line));
        const qreal left =
            centred ? (width() - metrics.horizontalAdvance(line)) / 2 : indent(font());
        painter.drawText(QPointF(left, top + i * step + ascent), line);
    }
}

} // namespace quillory
