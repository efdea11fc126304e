#include "ui/qt/history_view.h"

#include "ui/qt/fonts.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace quillory {

QString HistoryView::title()
{
    return QStringLiteral("会話の履歴");
}

HistoryView::HistoryView(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("history"));
    setAccessibleName(title());
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(250, 250, 240));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    heading_ = new QLabel(title() + QStringLiteral("（H または Esc で閉じる）"), this);
    heading_->setAccessibleName(title());

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("historyText"));
    text_->setAccessibleName(title());
    text_->setAccessibleDescription(QStringLiteral("これまでの会話。古いものから順に、"
                                                   "最後が最新です。H または Esc で閉じます。"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QPalette textPalette = text_->palette();
    textPalette.setColor(QPalette::Base, Qt::white);
    textPalette.setColor(QPalette::Text, Qt::black);
    text_->setPalette(textPalette);
    heading_->setBuddy(text_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(text_, 1);
    setScale(1);
    hide();
}

void HistoryView::setScale(qreal scale)
{
    const int margin = static_cast<int>(6 * scale);
    layout()->setContentsMargins(margin, margin, margin, margin);
    layout()->setSpacing(margin);
    heading_->setFont(japaneseFont(kTextPixels * scale));
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

} // namespace quillory
