#include "ui/qt/screen_window.h"

#include "ui/qt/caption_button.h"
#include "ui/qt/fonts.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/text_label.h"

#include <QCloseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

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

QRect toPixels(const Rect& rect)
{
    return QRect(twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
                 twipsToPixels(rect.height));
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

ScreenWindow::ScreenWindow(const Screen& screen) : screen_(screen)
{
    setObjectName(fromUtf8(screen.name()));
    setWindowTitle(fromUtf8(screen.caption()));
    setFixedSize(twipsToPixels(screen.width()), twipsToPixels(screen.height()));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toColor(screen.background()));
    setPalette(palette);
    setAutoFillBackground(true);

    for (const Control& control : screen.controls()) {
        Drawn drawn;
        drawn.widget = build(control);
        drawn.widget->setObjectName(fromUtf8(control.name));
        drawn.widget->setGeometry(toPixels(control.rect));
        auto [it, inserted] = drawn_.emplace(control.name, drawn);
        if (inserted)
            syncControl(control, it->second);
    }
}

QWidget* ScreenWindow::build(const Control& control)
{
    const QString name = fromUtf8(control.name);
    switch (control.kind) {
    case ControlKind::Button: {
        auto* button = new CaptionButton(this);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, [this, name] { emit controlClicked(name); });
        return button;
    }
    case ControlKind::Text: {
        auto* text = new QPlainTextEdit(this);
        text->setReadOnly(true);
        text->setFont(textBoxFont());
        text->document()->setDocumentMargin(2);
        text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        text->setVerticalScrollBarPolicy(control.scrollbar ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAlwaysOff);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QPalette palette = text->palette();
        palette.setColor(QPalette::Base,
                         control.background ? toColor(*control.background) : QColor(Qt::white));
        palette.setColor(QPalette::Text, Qt::black);
        text->setPalette(palette);
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

void ScreenWindow::sync()
{
    for (const Control& control : screen_.controls()) {
        auto it = drawn_.find(control.name);
        if (it != drawn_.end())
            syncControl(control, it->second);
    }
}

void ScreenWindow::syncControl(const Control& control, Drawn& drawn)
{
    QWidget* widget = drawn.widget;
    const bool textChanged = drawn.fresh || drawn.text != control.text;
    switch (control.kind) {
    case ControlKind::Button:
        if (textChanged)
            static_cast<QPushButton*>(widget)->setText(buttonCaption(control.text));
        break;
    case ControlKind::Text:
        if (textChanged)
            static_cast<QPlainTextEdit*>(widget)->setPlainText(widgetText(control.text));
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

void ScreenWindow::closeEvent(QCloseEvent* event)
{
    // The close box ends the program, as the menu's end button does: hidden
    // screens must not keep a program running that has no window left.
    event->ignore();
    emit closeRequested();
}

} // namespace quillory
