// The voice that reads English aloud: Qt's text-to-speech with an English voice,
// one utterance after the other. Each utterance is logged under the category
// "quillory.speech" (QT_LOGGING_RULES="quillory.speech.info=true" shows them).
#pragma once

#include "ui/read_aloud.h"

#include <QLoggingCategory>
#include <QObject>
#include <QStringList>

class QTextToSpeech;

namespace quillory {

Q_DECLARE_LOGGING_CATEGORY(lcSpeech)

class QtSpeech : public QObject, public SpeechOutput {
    Q_OBJECT
public:
    // Looks through the installed engines for one with an English voice.
    explicit QtSpeech(QObject* parent = nullptr);
    ~QtSpeech() override;

    bool available() const override { return tts_ != nullptr && !failed_; }
    bool speaking() const override { return active_; }
    void speak(const std::vector<std::string>& utterances) override;
    void stop() override;

    // The engine and voice in use, for the log; empty when none.
    QString description() const { return description_; }

signals:
    // The engine failed while speaking; it is no longer available.
    void failed();

private:
    void sayNext();
    void onState(int state);

    QTextToSpeech* tts_ = nullptr;
    QStringList queue_;
    QString description_;
    bool active_ = false;
    bool failed_ = false;
    bool spoke_ = false;
    int errorsInRow_ = 0;
    static constexpr int kErrorsToGiveUp = 3;
};

} // namespace quillory
