// The voice that reads English aloud: Qt's text-to-speech with an English voice,
// one utterance after the other. Each utterance is logged under the category
// "quillory.speech" (QT_LOGGING_RULES="quillory.speech.info=true" shows them).
#pragma once

#include "ui/read_aloud.h"

#include <QLoggingCategory>
#include <QObject>

#include <optional>
#include <string>

class QTextToSpeech;

namespace quillory {

Q_DECLARE_LOGGING_CATEGORY(lcSpeech)

class QtSpeech : public QObject, public SpeechOutput {
    Q_OBJECT
public:
    // Looks through the installed engines for one with an English voice.
    explicit QtSpeech(QObject* parent = nullptr);
    ~QtSpeech() override;

    bool available() const override { return tts_ != nullptr && !pacing_.lost(); }
    bool speaking() const override { return pacing_.speaking(); }
    void speak(const std::vector<std::string>& utterances) override;
    void stop() override;

signals:
    // The engine failed while speaking; it is no longer available.
    void failed();

private:
    void say(const std::optional<std::string>& utterance);
    void onState(int state);

    QTextToSpeech* tts_ = nullptr;
    SpeechPacing pacing_;
};

} // namespace quillory
