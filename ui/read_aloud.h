// Reading the English of the text box aloud: what to say, and when to start,
// stop or tell the learner that no voice is there.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// The English of a text box's text as the utterances to speak, in order.
// Japanese is left out and so are grammar symbols standing alone (S V O, A, B);
// each choice of a numbered list and each word of a word list ("語群：") is an
// utterance of its own, without its number; list marks ("(1)", "*", "=") are
// dropped and a blank "( )" is read as "blank" between pauses.
std::vector<std::string> englishToRead(std::string_view text);

// Where the utterances go: a voice, or in tests a recorder.
class SpeechOutput {
public:
    virtual ~SpeechOutput() = default;
    // Whether an English voice is there to speak.
    virtual bool available() const = 0;
    // Whether it is still speaking what it was last given.
    virtual bool speaking() const = 0;
    // Speaks the utterances one after the other.
    virtual void speak(const std::vector<std::string>& utterances) = 0;
    // Stops at once and forgets what is left.
    virtual void stop() = 0;
};

// The pacing of a voice whose engine says one utterance at a time and reports
// Speaking, Ready and Error: what to say next, and when the engine is lost. A
// hiccup of the sound stream cuts one utterance and the engine goes on to Ready;
// an engine that fails three times in a row is lost, and so is one that fails
// again at once when a reading starts while it still sits in its error state.
class SpeechPacing {
public:
    // A new reading: the first utterance to say, if any.
    std::optional<std::string> start(const std::vector<std::string>& utterances);
    // Stops the reading and forgets what is left.
    void stop();

    void onSpeaking();
    // The utterance is done: the next one to say, if the reading goes on.
    std::optional<std::string> onReady();
    // The engine failed: true when this loses it.
    bool onError();

    // A reading goes on and the engine is not stuck in its error state.
    bool speaking() const { return active_ && !inError_; }
    bool lost() const { return lost_; }

    static constexpr int kErrorsToGiveUp = 3;

private:
    std::optional<std::string> next();

    std::deque<std::string> queue_;
    bool active_ = false;
    bool inError_ = false; // failed, and neither speaking nor ready since
    bool lastChance_ = false;
    bool spoke_ = false;
    bool lost_ = false;
    int errorsInRow_ = 0;
};

class ReadAloud {
public:
    enum class Outcome {
        Started,       // the English is being read
        Stopped,       // a second press stopped the reading
        NothingToRead, // the text holds no English
        NoVoice,       // no engine or English voice
    };

    // What a press of R did, and what to tell the learner (empty: nothing).
    struct Result {
        Outcome outcome = Outcome::Started;
        std::string notice;
    };

    explicit ReadAloud(SpeechOutput& output) : output_(output) {}

    // R on a text box showing `text`: stops a reading still going on, otherwise
    // reads the text's English. That no voice is there is told only once.
    Result press(std::string_view text);
    // Leaving the screen: a reading still going on stops.
    void stop();
    // The voice failed while speaking (no sound device, say): what to tell the
    // learner, unless they have been told already.
    std::string voiceLost();

    static constexpr std::string_view kNoVoiceNotice =
        "英語の音声が見つからないため、英文の読み上げはできません。";
    static constexpr std::string_view kNothingNotice = "この文には読み上げる英文がありません。";

private:
    SpeechOutput& output_;
    bool toldNoVoice_ = false;
};

} // namespace quillory
