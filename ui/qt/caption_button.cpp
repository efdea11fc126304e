#include "ui/qt/caption_button.h"

#include <QFontMetricsF>

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>

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

void CaptionButton::setLive(bool live)
{
    if (live == live_)
        return;
    live_ = live;
    update();
}

void CaptionButton::setProgress(qreal share, bool finished)
{
    if (share == progress_ && finished == finished_)
        return;
    progress_ = share;
    finished_ = finished;
    update();
}

void CaptionButton::setLeftInset(int pixels)
{
    if (pixels == leftInset_)
        return;
    leftInset_ = pixels;
    update();
}

namespace {

QColor mixed(const QColor& a, const QColor& b, qreal share)
{
    return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share,
                            a.greenF() * (1 - share) + b.greenF() * share,
                            a.blueF() * (1 - share) + b.blueF() * share);
}

} // namespace

void CaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QColor accent(0x1f, 0x5f, 0xbf);
    const QColor button = option.palette.color(QPalette::Button);
    const QColor text = option.palette.color(QPalette::ButtonText);
    if (live_) {
        option.features |= QStyleOptionButton::DefaultButton;
        option.palette.setColor(QPalette::Button, mixed(button, accent, 0.28));
    } else {
        option.palette.setColor(QPalette::ButtonText, mixed(text, button, 0.5));
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    if (live_) {
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
    }
    const bool left = leftInset_ > 0;
    const QRect label = rect().adjusted(left ? leftInset_ : kSideRoom, 0, -kSideRoom, 0);
    const Qt::Alignment align = left ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
    style()->drawItemText(&painter, label, align | Qt::TextShowMnemonic, option.palette,
                          isEnabled(), drawnText(option.text), QPalette::ButtonText);

    if (progress_ >= 0) {
        // Thin enough to leave the caption alone.
        const int thick = std::max(2, height() / 10);
        const QRect track(2, height() - thick - 2, width() - 4, thick);
        painter.fillRect(track, QColor(0, 0, 0, 40));
        QRect done = track;
        done.setWidth(static_cast<int>(track.width() * std::clamp<qreal>(progress_, 0, 1)));
        painter.fillRect(done, finished_ ? QColor(0x2e, 0x8b, 0x3a) : QColor(0x1f, 0x5f, 0xbf));
        if (finished_) {
            QFont mark = font();
            mark.setBold(true);
            painter.setFont(mark);
            painter.setPen(QColor(0x2e, 0x8b, 0x3a));
            painter.drawText(rect().adjusted(0, 0, -kSideRoom - 2, 0),
                             Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("✓"));
        }
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        focus.backgroundColor = option.palette.color(QPalette::Button);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace quillory
