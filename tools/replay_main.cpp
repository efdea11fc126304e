// quillory-replay: drives the real program headless, one command a line on
// standard input, one JSON line per command on standard output.
#include "tools/replay.h"
#include "ui/qt/fonts.h"

#include <QApplication>

#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    quillory::applyLook(app);
    quillory::loadQtTranslations(app);

    quillory::Replay replay(QCoreApplication::applicationDirPath().toStdString(), 1, true,
                            quillory::learningFromArguments(QCoreApplication::arguments()));
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (auto out = replay.execute(line))
            std::cout << *out << '\n' << std::flush;
    }
    return 0;
}
