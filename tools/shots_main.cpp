// quillory-shots: a developer's tool that drives the program like the replay driver
// and saves pictures of the main window. Reads replay commands on standard input,
// plus "shot FILE.png" and "wait SECONDS" (lets the program run, as while a voice
// reads aloud; 0 to 86400 seconds, else an error line). Runs on whatever platform
// Qt picks (xcb under Xvfb, or offscreen). "--scale N" draws the windows at scale N
// (default 1).
#include "tools/replay.h"
#include "ui/qt/fonts.h"

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>

namespace {

// The longest wait, in seconds: a day.
constexpr double kLongestWait = 86400;

// The milliseconds of "wait SECONDS", or none when SECONDS is no number from 0 to a day.
std::optional<int> waitMilliseconds(const std::string& seconds)
{
    bool number = false;
    const double value = QString::fromStdString(seconds).trimmed().toDouble(&number);
    if (!number || !std::isfinite(value) || value < 0 || value > kLongestWait)
        return std::nullopt;
    return static_cast<int>(value * 1000);
}

} // namespace

int main(int argc, char* argv[])
{
    // Without a display the windows are drawn offscreen instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    quillory::applyLook(app);
    quillory::loadQtTranslations(app);

    qreal scale = 1;
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype at = arguments.indexOf("--scale");
    if (at >= 0 && at + 1 < arguments.size())
        scale = std::max(1.0, arguments[at + 1].toDouble());

    // Offscreen no one looks on and nothing is heard; on a display the program is
    // as a person meets it.
    const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen");
    quillory::Replay replay(QCoreApplication::applicationDirPath().toStdString(), scale, headless,
                            quillory::learningFromArguments(arguments));
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("shot ", 0) == 0) {
            const QString file = QString::fromStdString(line.substr(5));
            QWidget* window = replay.view().mainWindow();
            if (replay.view().visibleWindow() == nullptr) {
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
        if (line == "wait" || line.rfind("wait ", 0) == 0 || line.rfind("wait\t", 0) == 0) {
            const std::optional<int> wait = waitMilliseconds(line.substr(4));
            if (!wait) {
                std::cout << "{\"error\": "
                          << quillory::jsonString("wait needs a number of seconds from 0 to " +
                                                  std::to_string(int(kLongestWait)))
                          << "}\n"
                          << std::flush;
                continue;
            }
            QEventLoop loop;
            QTimer::singleShot(*wait, &loop, &QEventLoop::quit);
            loop.exec();
            continue;
        }
        if (auto out = replay.execute(line))
            std::cout << *out << '\n' << std::flush;
    }
    return 0;
}
