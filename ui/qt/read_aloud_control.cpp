#include "ui/qt/read_aloud_control.h"

#include "ui/qt/speech.h"

namespace quillory {

ReadAloudControl::ReadAloudControl(QObject* parent) : QObject(parent) {}

ReadAloudControl::~ReadAloudControl()
{
    stop();
    reader_.reset();
}

void ReadAloudControl::setSpeechOutput(std::unique_ptr<SpeechOutput> output)
{
    stop();
    reader_.reset();
    speech_ = std::move(output);
    if (speech_ != nullptr)
        reader_ = std::make_unique<ReadAloud>(*speech_);
}

ReadAloud::Result ReadAloudControl::press(std::string_view text)
{
    if (reader_ == nullptr) {
        auto speech = std::make_unique<QtSpeech>();
        connect(speech.get(), &QtSpeech::failed, this, [this] {
            const std::string notice = reader_->voiceLost();
            if (!notice.empty())
                emit voiceLost(QString::fromStdString(notice));
        });
        setSpeechOutput(std::move(speech));
    }
    const ReadAloud::Result result = reader_->press(text);
    qCDebug(lcSpeech) << "read aloud, outcome" << static_cast<int>(result.outcome);
    return result;
}

void ReadAloudControl::stop()
{
    if (reader_ != nullptr)
        reader_->stop();
}

} // namespace quillory
