// The base of the widget tests: each test function starts in the working folder
// the test program was started in, whatever the one before changed it to (the
// title screen's start makes the program's folder current).
#pragma once

#include <QObject>

#include <filesystem>

namespace quillory {

class ViewTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { std::filesystem::current_path(startFolder_); }

private:
    std::filesystem::path startFolder_ = std::filesystem::current_path();
};

} // namespace quillory
