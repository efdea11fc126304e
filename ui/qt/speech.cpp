#include "ui/qt/speech.h"

#include <QLocale>
#include <QStringList>
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
        connect(tts_, &QTextToSpeech::stateChanged, this,
                [this](QTextToSpeech::State state) { onState(state); });
        qCInfo(lcSpeech).noquote()
            << "voice" << engine << tts->voice().name() << tts->locale().name();
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
    say(pacing_.start(utterances));
}

void QtSpeech::stop()
{
    pacing_.stop();
    if (tts_ != nullptr) {
        qCInfo(lcSpeech) << "stop";
        tts_->stop();
    }
}

void QtSpeech::say(const std::optional<std::string>& utterance)
{
    if (!utterance)
        return;
    const QString text = QString::fromStdString(*utterance);
    qCInfo(lcSpeech).noquote() << "say" << text;
    tts_->say(text);
}

void QtSpeech::onState(int state)
{
    qCDebug(lcSpeech) << "state" << static_cast<QTextToSpeech::State>(state);
    switch (state) {
    case QTextToSpeech::Speaking:
        pacing_.onSpeaking();
        break;
    case QTextToSpeech::Ready:
        say(pacing_.onReady());
        break;
    case QTextToSpeech::Error:
        qCWarning(lcSpeech).noquote() << "speech failed:" << tts_->errorString();
        if (pacing_.onError())
            emit failed();
        break;
    default:
        break;
    }
}

} // namespace quillory
