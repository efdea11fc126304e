// Quillory: the desktop program.
#include "app/screens.h"
#include "ui/qt/app_view.h"
#include "ui/qt/fonts.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    const bool display = std::getenv("DISPLAY") != nullptr ||
                         std::getenv("WAYLAND_DISPLAY") != nullptr ||
                         std::getenv("QT_QPA_PLATFORM") != nullptr;
    if (!display) {
        std::fprintf(stderr, "Quillory is a desktop program and needs a display.\n"
                             "Without one, try: xvfb-run ./run.sh\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName("Quillory");
    QApplication::setApplicationName("Quillory");
    QApplication::setQuitOnLastWindowClosed(false);
    quillory::applyLook(app);
    quillory::loadQtTranslations(app);

#ifndef NDEBUG
    for (const std::string& problem : quillory::checkScripts())
        std::fprintf(stderr, "quillory: script: %s\n", problem.c_str());
#endif

    quillory::AppView view(
        quillory::startProgram(QCoreApplication::applicationDirPath().toStdString()),
        quillory::ViewOptions{.scale = std::nullopt, .headless = false, .remember = true});
    QObject::connect(&view, &quillory::AppView::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return QApplication::exec();
}
