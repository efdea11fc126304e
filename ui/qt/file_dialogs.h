// Files the learner saves or opens through the desktop's file dialogs, in the
// user's documents folder at first.
#pragma once

#include "ui/file_exchange.h"

#include <QPointer>
#include <QWidget>

namespace quillory {

class FileDialogs : public FileExchange {
public:
    // The dialogs sit over `parent`.
    explicit FileDialogs(QWidget* parent) : parent_(parent) {}

    void save(const std::string& suggestedName, const std::string& contents, Saved done) override;
    void open(std::size_t limit, Opened done) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace quillory
