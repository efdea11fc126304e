// A push button whose caption, when wider than the button, starts at the left edge
// instead of being cut on both sides: some captions pad with spaces on the right.
#pragma once

#include <QPushButton>

namespace quillory {

class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quillory
