#include "ui/qt/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace quillory {

CaptionButton::CaptionButton(QWidget* parent) : QPushButton(parent) {}

void CaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QRect label = content.adjusted(2, 0, -2, 0);
    const int wide = option.fontMetrics.horizontalAdvance(option.text);
    const int align = Qt::AlignVCenter | Qt::TextShowMnemonic |
                      (wide > label.width() ? Qt::AlignLeft : Qt::AlignHCenter);
    painter.setClipRect(content);
    style()->drawItemText(&painter, label, align, option.palette, isEnabled(), option.text,
                          QPalette::ButtonText);
}

} // namespace quillory
