#include "ui/qt/history_view.h"

#include "ui/qt/fonts.h"
#include "ui/qt/text_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillory {

QString HistoryView::title()
{
    return QStringLiteral("会話の履歴");
}

HistoryView::HistoryView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("history"));
    setAccessibleName(title());

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("historyPanel"));
    panel_->setFrameShape(QFrame::Box);
    panel_->setAutoFillBackground(true);
    QPalette palette = panel_->palette();
    palette.setColor(QPalette::Window, QColor(250, 250, 240));
    palette.setColor(QPalette::WindowText, Qt::black);
    panel_->setPalette(palette);

    heading_ = new QLabel(title() + QStringLiteral("（H または Esc で閉じる）"), panel_);
    heading_->setAccessibleName(title());

    close_ = new QPushButton(QStringLiteral("閉じる"), panel_);
    close_->setObjectName(QStringLiteral("historyClose"));
    close_->setAccessibleName(QStringLiteral("履歴を閉じる"));
    close_->setAutoDefault(false);
    close_->setFocusPolicy(Qt::TabFocus);
    connect(close_, &QPushButton::clicked, this, &HistoryView::closeRequested);

    text_ = new QPlainTextEdit(panel_);
    text_->setObjectName(QStringLiteral("historyText"));
    text_->setAccessibleName(title());
    text_->setAccessibleDescription(QStringLiteral("これまでの会話。古いものから順に、"
                                                   "最後が最新です。H または Esc で閉じます。"));
    text_->setReadOnly(true);
    // Read only: the mouse may select to copy, but no caret blinks in it.
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setCursorWidth(0);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QPalette textPalette = text_->palette();
    textPalette.setColor(QPalette::Base, Qt::white);
    textPalette.setColor(QPalette::Text, Qt::black);
    text_->setPalette(textPalette);
    markWordOrderMarkers(text_->document());
    heading_->setBuddy(text_);

    auto* top = new QHBoxLayout;
    top->addWidget(heading_, 1);
    top->addWidget(close_);
    auto* layout = new QVBoxLayout(panel_);
    layout->addLayout(top);
    layout->addWidget(text_, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(panel_);
    setScale(1);
    hide();
}

void HistoryView::setScale(qreal scale)
{
    const int margin = static_cast<int>(6 * scale);
    panel_->layout()->setContentsMargins(margin, margin, margin, margin);
    panel_->layout()->setSpacing(margin);
    // Room beside the panel to click it away.
    const int beside = static_cast<int>(16 * scale);
    layout()->setContentsMargins(beside, beside, beside, beside);
    heading_->setFont(japaneseFont(kTextPixels * scale));
    close_->setFont(japaneseFont(kTextPixels * scale));
    text_->setFont(japaneseFont(kTextPixels * scale));
}

void HistoryView::open(const QString& text)
{
    QWidget* focus = window()->focusWidget();
    focusBefore_ = focus != nullptr && !isAncestorOf(focus) ? focus : nullptr;
    text_->setPlainText(text);
    setGeometry(parentWidget()->rect());
    show();
    raise();
    text_->moveCursor(QTextCursor::End);
    text_->ensureCursorVisible();
    text_->setFocus(Qt::OtherFocusReason);
}

void HistoryView::dismiss()
{
    hide();
    if (focusBefore_ != nullptr && focusBefore_->isVisible())
        focusBefore_->setFocus(Qt::OtherFocusReason);
    else
        parentWidget()->setFocus(Qt::OtherFocusReason);
    focusBefore_ = nullptr;
}

void HistoryView::mousePressEvent(QMouseEvent* event)
{
    if (!panel_->geometry().contains(event->position().toPoint())) {
        event->accept();
        emit closeRequested();
        return;
    }
    QWidget::mousePressEvent(event);
}

void HistoryView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 110));
}

} // namespace quillory
