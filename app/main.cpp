// Quillory: the desktop program.
#include "app/learning.h"
#include "app/screens.h"
#include "ui/qt/app_view.h"
#include "ui/qt/fonts.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

// The learner's record: --record FILE, --no-record, or the user's data folder.
std::unique_ptr<quillory::Learning> learning(int argc, char* argv[])
{
    std::string file;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-record") == 0)
            return nullptr;
        if (std::strcmp(argv[i], "--record") == 0 && i + 1 < argc)
            file = argv[++i];
    }
    if (file.empty()) {
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/quillory");
        QDir().mkpath(folder);
        file = (folder + QStringLiteral("/record.sqlite")).toStdString();
    }
    // Opened when the menu first needs it, so that start-up does not wait on it.
    return std::make_unique<quillory::Learning>([file] { return quillory::openRecordStore(file); });
}

} // namespace

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

    const std::unique_ptr<quillory::Learning> record = learning(argc, argv);
    quillory::AppView view(
        quillory::startProgram(QCoreApplication::applicationDirPath().toStdString(), record.get()),
        quillory::ViewOptions{.scale = std::nullopt, .headless = false, .remember = true});
    QObject::connect(&view, &quillory::AppView::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return QApplication::exec();
}
