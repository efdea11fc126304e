#include "ui/qt/caption_button.h"

#include <QFontMetricsF>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace quillory {

CaptionButton::CaptionButton(QWidget* parent) : QPushButton(parent) {}

QString CaptionButton::drawnText(const QString& caption)
{
    return QString(caption).replace(QChar(' '), QChar(0x2002));
}

qreal CaptionButton::widthInEms(const QString& caption, const QFont& font)
{
    QFont large = font;
    large.setPixelSize(100);
    QString plain = drawnText(caption);
    plain.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return QFontMetricsF(large).horizontalAdvance(plain) / 100.0;
}

void CaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect label = rect().adjusted(kSideRoom, 0, -kSideRoom, 0);
    style()->drawItemText(&painter, label, Qt::AlignCenter | Qt::TextShowMnemonic, option.palette,
                          isEnabled(), drawnText(option.text), QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        focus.backgroundColor = option.palette.color(QPalette::Button);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace quillory
