// quillory-shots: a developer's tool that drives the program like the replay driver
// and saves pictures of the visible window. Reads replay commands on standard input,
// plus "shot FILE.png" and "wait SECONDS" (lets the program run, as while a voice
// reads aloud). Runs on whatever platform Qt picks (xcb under Xvfb, or
// offscreen). "--scale N" draws the windows at scale N (default 1).
#include "tools/replay.h"
#include "ui/qt/fonts.h"

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    // Without a display the windows are drawn offscreen instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    quillory::applyLook(app);

    qreal scale = 1;
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype at = arguments.indexOf("--scale");
    if (at >= 0 && at + 1 < arguments.size())
        scale = std::max(1.0, arguments[at + 1].toDouble());

    quillory::Replay replay(QCoreApplication::applicationDirPath().toStdString(), scale);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("shot ", 0) == 0) {
            const QString file = QString::fromStdString(line.substr(5));
            QWidget* window = replay.view().visibleWindow();
            if (window == nullptr) {
                std::cerr << "no window to take\n";
                continue;
            }
            QApplication::processEvents();
            QPixmap picture;
            if (QGuiApplication::platformName() == QLatin1String("xcb"))
                picture = window->screen()->grabWindow(window->winId());
            else
                picture = window->grab();
            std::cerr << (picture.save(file) ? "saved " : "could not save ") << file.toStdString()
                      << '\n';
            continue;
        }
        if (line.rfind("wait ", 0) == 0) {
            QEventLoop loop;
            QTimer::singleShot(static_cast<int>(std::stod(line.substr(5)) * 1000), &loop,
                               &QEventLoop::quit);
            loop.exec();
            continue;
        }
        if (auto out = replay.execute(line))
            std::cout << *out << '\n' << std::flush;
    }
    return 0;
}
