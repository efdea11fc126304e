// The replay driver: runs the real program headless, clicks it by command and
// reads its state back from the widgets as one JSON line.
#pragma once

#include "app/learning.h"
#include "ui/file_exchange.h"
#include "ui/qt/app_view.h"

#include <QStringList>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

class Replay {
public:
    // Starts the program as at start-up, with programFolder as its own folder, its
    // windows drawn at the given scale. Geometry is reported in twips whatever the scale.
    // Headless: no one looks on, and there is no voice; otherwise the program
    // behaves as for a person at a display.
    // The learner's record outlives restarts; without one given it lives in memory.
    // Files the program saves stay in memory, and an open hands back the last.
    explicit Replay(std::filesystem::path programFolder, qreal scale = 1, bool headless = true,
                    std::unique_ptr<Learning> learning = nullptr);
    ~Replay();

    // Runs one command line. Blank lines and comments give nothing; every other
    // line gives exactly one JSON line (without its line break).
    std::optional<std::string> execute(std::string_view line);

    // The state line.
    std::string state() const;

    AppView& view() { return *view_; }

private:
    std::string click(std::string_view control);
    std::string key(std::string_view name);
    void restart();
    void start();

    std::filesystem::path programFolder_;
    std::filesystem::path startFolder_;
    qreal scale_ = 1;
    bool headless_ = true;
    std::unique_ptr<Learning> learning_;
    // Files saved and opened: in memory, kept across restarts like the record.
    MemoryExchange files_;
    std::unique_ptr<AppView> view_;
};

// The record the driver's options ask for: --record FILE (else memory) and
// --today YYYY-MM-DD.
std::unique_ptr<Learning> learningFromArguments(const QStringList& arguments);

// A JSON string literal, with quotes; control characters are escaped.
std::string jsonString(std::string_view text);

} // namespace quillory
