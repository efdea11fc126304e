#include "ui/qt/speech.h"

#include <QLocale>
#include <QTextToSpeech>
#include <QVoice>

namespace quillory {

Q_LOGGING_CATEGORY(lcSpeech, "quillory.speech", QtWarningMsg)

namespace {

// An English locale of the engine, American or British first.
std::optional<QLocale> englishLocale(const QTextToSpeech& tts)
{
    std::optional<QLocale> found;
    for (const QLocale& locale : tts.availableLocales()) {
        if (locale.language() != QLocale::English)
            continue;
        if (locale.territory() == QLocale::UnitedStates ||
            locale.territory() == QLocale::UnitedKingdom)
            return locale;
        if (!found)
            found = locale;
    }
    return found;
}

} // namespace

QtSpeech::QtSpeech(QObject* parent) : QObject(parent)
{
    const QStringList engines = QTextToSpeech::availableEngines();
    for (const QString& engine : engines) {
        auto* tts = new QTextToSpeech(engine, this);
        // An engine that cannot play ("No audio device available") says so at once.
        const bool broken = tts->state() == QTextToSpeech::Error || !tts->errorString().isEmpty();
        if (broken)
            qCInfo(lcSpeech).noquote()
                << "engine" << engine << "cannot speak:" << tts->errorString();
        const std::optional<QLocale> locale = broken ? std::nullopt : englishLocale(*tts);
        if (locale)
            tts->setLocale(*locale);
        const QList<QVoice> voices = locale ? tts->availableVoices() : QList<QVoice>();
        if (voices.isEmpty() || tts->state() == QTextToSpeech::Error) {
            qCInfo(lcSpeech) << "engine" << engine << "has no English voice";
            delete tts;
            continue;
        }
        tts->setVoice(voices.front());
        tts_ = tts;
        description_ = engine + QLatin1Char(' ') + tts->voice().name() + QLatin1Char(' ') +
                       tts->locale().name();
        connect(tts_, &QTextToSpeech::stateChanged, this,
                [this](QTextToSpeech::State state) { onState(state); });
        qCInfo(lcSpeech).noquote() << "voice" << description_;
        return;
    }
    qCInfo(lcSpeech) << "no English voice among the engines" << engines;
}

QtSpeech::~QtSpeech()
{
    if (tts_ != nullptr)
        tts_->disconnect(this);
}

void QtSpeech::speak(const std::vector<std::string>& utterances)
{
    if (!available())
        return;
    queue_.clear();
    for (const std::string& u : utterances)
        queue_ << QString::fromStdString(u);
    active_ = !queue_.isEmpty();
    sayNext();
}

void QtSpeech::stop()
{
    queue_.clear();
    active_ = false;
    if (tts_ != nullptr) {
        qCInfo(lcSpeech) << "stop";
        tts_->stop();
    }
}

void QtSpeech::sayNext()
{
    if (queue_.isEmpty()) {
        active_ = false;
        return;
    }
    const QString text = queue_.takeFirst();
    qCInfo(lcSpeech).noquote() << "say" << text;
    tts_->say(text);
}

void QtSpeech::onState(int state)
{
    qCDebug(lcSpeech) << "state" << static_cast<QTextToSpeech::State>(state);
    switch (state) {
    case QTextToSpeech::Speaking:
        spoke_ = true;
        break;
    case QTextToSpeech::Ready:
        // One utterance is done: on to the next, unless stopped.
        if (spoke_)
            errorsInRow_ = 0;
        spoke_ = false;
        if (active_)
            sayNext();
        break;
    case QTextToSpeech::Error: {
        // A hiccup of the sound stream cuts one utterance, and the engine goes on
        // to Ready; an engine that keeps failing, or cannot start, has no voice.
        qCWarning(lcSpeech).noquote() << "speech failed:" << tts_->errorString();
        spoke_ = false;
        if (++errorsInRow_ < kErrorsToGiveUp)
            break;
        queue_.clear();
        active_ = false;
        failed_ = true;
        emit failed();
        break;
    }
    default:
        break;
    }
}

} // namespace quillory
