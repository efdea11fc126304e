// Reading aloud for the whole program: one voice, Qt's text-to-speech looked for
// at the first press unless another is given, and one reader over it.
#pragma once

#include "ui/read_aloud.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string_view>

namespace quillory {

class ReadAloudControl : public QObject {
    Q_OBJECT
public:
    explicit ReadAloudControl(QObject* parent = nullptr);
    ~ReadAloudControl() override;

    // The voice to read with instead of Qt's text-to-speech.
    void setSpeechOutput(std::unique_ptr<SpeechOutput> output);

    // R on a text box showing `text`: read its English aloud, or stop.
    ReadAloud::Result press(std::string_view text);
    // A reading still going on stops.
    void stop();

signals:
    // The voice failed while speaking: what to tell the learner, said once.
    void voiceLost(const QString& notice);

private:
    // The reader refers to the voice: it is made after it and goes before it.
    std::unique_ptr<SpeechOutput> speech_;
    std::unique_ptr<ReadAloud> reader_;
};

} // namespace quillory
