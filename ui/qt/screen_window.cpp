#include "ui/qt/screen_window.h"

#include "ui/qt/accessibility.h"
#include "ui/qt/caption_button.h"
#include "ui/qt/fonts.h"
#include "ui/qt/history_view.h"
#include "ui/qt/keys.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/text_box.h"
#include "ui/qt/text_label.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace quillory {

namespace {

QColor toColor(Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString buttonCaption(const std::string& caption)
{
    return fromUtf8(caption).replace('&', QStringLiteral("&&"));
}

std::string modelCaption(const QString& buttonText)
{
    return QString(buttonText).replace(QStringLiteral("&&"), QStringLiteral("&")).toStdString();
}

QString widgetText(const std::string& modelText)
{
    QString text = fromUtf8(modelText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    return text;
}

std::string modelText(const QString& widgetText)
{
    QString text = widgetText;
    text.replace(QChar::ParagraphSeparator, '\n');
    text.replace(QChar::LineSeparator, '\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toStdString();
}

ScreenWindow::ScreenWindow(const Screen& screen, qreal scale, QWidget* parent)
    : QWidget(parent), screen_(screen), scale_(scale)
{
    installAccessibility();
    setObjectName(fromUtf8(screen.name()));
    setWindowTitle(fromUtf8(screen.caption()));
    setAccessibleName(withoutPadding(windowTitle()));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toColor(screen.background()));
    setPalette(palette);
    setAutoFillBackground(true);

    for (const Control& control : screen.controls()) {
        Drawn drawn;
        drawn.widget = build(control);
        drawn.widget->setObjectName(fromUtf8(control.name));
        drawn.widget->installEventFilter(this);
        auto [it, inserted] = drawn_.emplace(control.name, drawn);
        if (inserted)
            syncControl(control, it->second);
    }
    if (hasTextActions(screen) && textBox() != nullptr) {
        history_ = new HistoryView(this);
        history_->text()->installEventFilter(this);
        connect(history_, &HistoryView::closeRequested, this, &ScreenWindow::toggleHistory);
    }
    applyScale();
}

QWidget* ScreenWindow::build(const Control& control)
{
    const QString name = fromUtf8(control.name);
    switch (control.kind) {
    case ControlKind::Button: {
        auto* button = new CaptionButton(this);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        const QString keys = keyHint(screen_, control.name);
        if (!keys.isEmpty())
            button->setToolTip(QStringLiteral("キー：") + keys);
        connect(button, &QPushButton::clicked, this, [this, name] { emit controlClicked(name); });
        return button;
    }
    case ControlKind::Text: {
        auto* text = new TextBox(this);
        text->setAccessibleName(QString::fromStdString(control.role));
        text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        text->setVerticalScrollBarPolicy(control.scrollbar ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAlwaysOff);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (control.role == "説明") // eighteen lines in one view
            text->setDense();
        QPalette palette = text->palette();
        palette.setColor(QPalette::Base,
                         control.background ? toColor(*control.background) : QColor(Qt::white));
        palette.setColor(QPalette::Text, Qt::black);
        text->setPalette(palette);
        if (hasTextActions(screen_)) {
            text->setToolTip(textBoxHint());
            text->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(text, &QWidget::customContextMenuRequested, this, [this, text](QPoint at) {
                QMenu* menu = makeTextMenu();
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(text->viewport()->mapToGlobal(at));
            });
        }
        return text;
    }
    case ControlKind::Label: {
        auto* label = new TextLabel(this);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        if (control.background)
            label->setBackground(toColor(*control.background));
        return label;
    }
    case ControlKind::Picture:
        return new PictureBox(this);
    }
    return new QWidget(this);
}

QRect ScreenWindow::toPixels(const Rect& rect) const
{
    const auto px = [this](int twips) {
        return static_cast<int>(std::lround(twips * scale_ / kTwipsPerPixel));
    };
    const int left = px(rect.left);
    const int top = px(rect.top);
    return QRect(left, top, px(rect.left + rect.width) - left, px(rect.top + rect.height) - top);
}

int ScreenWindow::toTwips(int pixels) const
{
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel / scale_));
}

void ScreenWindow::setScale(qreal scale)
{
    if (scale == scale_)
        return;
    scale_ = scale;
    applyScale();
}

void ScreenWindow::applyScale()
{
    setFixedSize(toPixels({0, 0, screen_.width(), screen_.height()}).size());
    const qreal textPixels = kTextPixels * scale_;

    // One caption size for the whole screen, so that captions padded to line up
    // still do: the text size, or less where a caption would not fit its button.
    qreal captionPixels = textPixels;
    const QFont base = japaneseFont(textPixels);
    const int inset = captionsLeft_ ? static_cast<int>(std::lround(8 * scale_)) : 0;
    for (const Control& control : screen_.controls()) {
        if (control.kind != ControlKind::Button)
            continue;
        const qreal ems = CaptionButton::widthInEms(buttonCaption(control.text), base);
        const int room = toPixels(control.rect).width() - 2 * CaptionButton::kSideRoom - 2 -
                         std::max(0, inset - CaptionButton::kSideRoom);
        if (ems > 0)
            captionPixels = std::min(captionPixels, std::floor(room / ems));
    }

    for (const Control& control : screen_.controls()) {
        QWidget* widget = controlWidget(control.name);
        if (widget == nullptr)
            continue;
        widget->setGeometry(toPixels(control.rect));
        switch (control.kind) {
        case ControlKind::Button:
            widget->setFont(japaneseFont(captionPixels));
            static_cast<CaptionButton*>(widget)->setLeftInset(inset);
            break;
        case ControlKind::Text: {
            static_cast<TextBox*>(widget)->setScale(scale_);
            break;
        }
        case ControlKind::Label:
        case ControlKind::Picture:
            widget->setFont(japaneseFont(textPixels));
            break;
        }
    }
    if (history_ != nullptr) {
        history_->setScale(scale_);
        history_->setGeometry(rect());
    }
}

void ScreenWindow::sync()
{
    for (const Control& control : screen_.controls()) {
        auto it = drawn_.find(control.name);
        if (it != drawn_.end())
            syncControl(control, it->second);
    }
    // A screen left behind shows its own controls when it is entered again.
    if (history_ != nullptr && history_->isOpen() && !screen_.visible())
        toggleHistory();
}

void ScreenWindow::setCaptionsLeft(bool left)
{
    if (left == captionsLeft_)
        return;
    captionsLeft_ = left;
    applyScale();
}

QWidget* ScreenWindow::textBox() const
{
    const Control* box = screen_.textBox();
    return box != nullptr ? controlWidget(box->name) : nullptr;
}

void ScreenWindow::toggleHistory()
{
    if (history_ == nullptr)
        return;
    // Under the history the screen's controls take neither clicks, keys nor the
    // focus; the focus goes back to where it was when it closes.
    const bool opening = !history_->isOpen();
    if (opening)
        history_->open(fromUtf8(conversationText(screen_.conversation())));
    for (auto& [name, drawn] : drawn_)
        drawn.widget->setEnabled(!opening);
    if (!opening)
        history_->dismiss();
}

QMenu* ScreenWindow::makeTextMenu()
{
    auto* box = static_cast<QPlainTextEdit*>(textBox());
    QMenu* menu = box->createStandardContextMenu();
    menu->setAccessibleName(QStringLiteral("会話のメニュー"));
    menu->setFont(japaneseFont(kTextPixels * scale_));
    menu->addSeparator();
    QAction* read = menu->addAction(readAloudEntry(), this, [this] { emit readAloudRequested(); });
    read->setShortcut(QKeySequence(Qt::Key_R));
    read->setShortcutVisibleInContextMenu(true);
    QAction* history = menu->addAction(historyEntry(), this, [this] { toggleHistory(); });
    history->setShortcut(QKeySequence(Qt::Key_H));
    history->setShortcutVisibleInContextMenu(true);
    // The keys act in the open menu; otherwise the window takes them.
    read->setShortcutContext(Qt::WidgetShortcut);
    history->setShortcutContext(Qt::WidgetShortcut);
    return menu;
}

void ScreenWindow::showNotice(const QString& notice, bool lasting)
{
    notice_ = notice;
    if (lasting)
        keepNote(notice);
    QWidget* box = textBox();
    // A tip beside the text box, gone after a while or at the next click; none
    // where no one looks.
    if (box != nullptr && isVisible() && !headless_)
        QToolTip::showText(box->mapToGlobal(QPoint(box->width() / 8, box->height() / 3)), notice,
                           box, QRect(), 10000);
}

void ScreenWindow::keepNote(const QString& note)
{
    QWidget* box = textBox();
    if (box != nullptr && hasTextActions(screen_) && !box->toolTip().contains(note))
        box->setToolTip(box->toolTip() + QLatin1Char('\n') + note);
}

void ScreenWindow::syncControl(const Control& control, Drawn& drawn)
{
    QWidget* widget = drawn.widget;
    const bool textChanged = drawn.fresh || drawn.text != control.text;
    switch (control.kind) {
    case ControlKind::Button:
        if (textChanged) {
            auto* button = static_cast<QPushButton*>(widget);
            button->setText(buttonCaption(control.text));
            button->setAccessibleName(withoutPadding(fromUtf8(control.text)));
        }
        static_cast<CaptionButton*>(widget)->setLive(screen_.live(control.name));
        if (const std::optional<Progress>& p = control.progress) {
            auto* button = static_cast<CaptionButton*>(widget);
            button->setProgress(p->last > 0 ? qreal(p->reached) / p->last : 0, p->finished);
            const QString summary = QString::fromStdString(p->summary);
            button->setToolTip(summary);
            button->setAccessibleDescription(summary);
        }
        break;
    case ControlKind::Text:
        if (textChanged)
            static_cast<TextBox*>(widget)->showText(widgetText(control.text));
        break;
    case ControlKind::Label:
        if (textChanged)
            static_cast<TextLabel*>(widget)->setText(fromUtf8(control.text));
        break;
    case ControlKind::Picture:
        if (drawn.pictureLoads != control.pictureLoads) {
            drawn.pictureLoads = control.pictureLoads;
            static_cast<PictureBox*>(widget)->load(fromUtf8(control.picture));
        }
        break;
    }
    drawn.text = control.text;
    drawn.fresh = false;
    widget->setHidden(!control.visible);
}

QWidget* ScreenWindow::controlWidget(const std::string& name) const
{
    auto it = drawn_.find(name);
    return it == drawn_.end() ? nullptr : it->second.widget;
}

bool ScreenWindow::pressKey(int key, Qt::KeyboardModifiers modifiers)
{
    const std::string target = keyTarget(screen_, key, modifiers);
    if (target.empty())
        return false;
    auto* button = qobject_cast<QAbstractButton*>(controlWidget(target));
    // A hidden button cannot be clicked, by mouse or by key.
    if (button != nullptr && !button->isHidden())
        button->click();
    return true;
}

bool ScreenWindow::handleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier ||
        modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            emit zoomRequested(1);
            return true;
        case Qt::Key_Minus:
            emit zoomRequested(-1);
            return true;
        case Qt::Key_0:
            emit zoomRequested(0);
            return true;
        default:
            return false;
        }
    }
    const bool plain = modifiers == Qt::NoModifier;
    if (history_ != nullptr && history_->isOpen()) {
        // Over the history the screen's buttons are out of reach: only closing.
        if (plain && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_H)) {
            toggleHistory();
            return true;
        }
        return false;
    }
    // Page Down and the arrows scroll the conversation, whatever has the focus.
    auto* box = qobject_cast<TextBox*>(textBox());
    if (plain && box != nullptr && box->isVisible() && box->scrollByKey(event->key()))
        return true;
    switch (textAction(screen_, event->key(), event->modifiers())) {
    case TextAction::ReadAloud:
        emit readAloudRequested();
        return true;
    case TextAction::History:
        toggleHistory();
        return true;
    case TextAction::None:
        break;
    }
    return pressKey(event->key(), event->modifiers());
}

void ScreenWindow::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool ScreenWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The screen's keys come first, whichever control has the focus.
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* picture = qobject_cast<PictureBox*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (picture != nullptr && picture->loaded() && mouse->button() == Qt::LeftButton &&
            picture->rect().contains(mouse->position().toPoint()))
            emit pictureClicked(picture->objectName());
    }
    return QWidget::eventFilter(watched, event);
}

void ScreenWindow::closeEvent(QCloseEvent* event)
{
    // As the main window's close box: the screen's way back, or the end.
    event->ignore();
    emit closeRequested();
}

} // namespace quillory
