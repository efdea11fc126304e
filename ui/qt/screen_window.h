// One generic window that draws any screen of the core model and forwards clicks.
#pragma once

#include "ui/screen.h"

#include <QString>
#include <QWidget>

#include <map>
#include <string>

namespace quillory {

class ScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScreenWindow(const Screen& screen);

    const Screen& model() const { return screen_; }

    // Brings every widget in line with the model's controls.
    void sync();

    // The widget drawing the named control, or nullptr.
    QWidget* controlWidget(const std::string& name) const;

signals:
    void controlClicked(const QString& name);
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Drawn {
        QWidget* widget = nullptr;
        std::string text;
        unsigned pictureLoads = 0;
        bool fresh = true;
    };

    QWidget* build(const Control& control);
    void syncControl(const Control& control, Drawn& drawn);

    const Screen& screen_;
    std::map<std::string, Drawn, std::less<>> drawn_;
};

// Twips to pixels and back (15 twips are one pixel at scale 1).
constexpr int twipsToPixels(int twips)
{
    return twips / 15;
}
constexpr int pixelsToTwips(int pixels)
{
    return pixels * 15;
}

// Button captions: Qt reads '&' as a shortcut mark, the model does not.
QString buttonCaption(const std::string& caption);
std::string modelCaption(const QString& buttonText);

// Text box texts: the model breaks lines with CR LF, the widget with LF.
QString widgetText(const std::string& modelText);
std::string modelText(const QString& widgetText);

} // namespace quillory
