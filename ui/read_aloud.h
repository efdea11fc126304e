// Reading the English of the text box aloud: what to say, and when to start,
// stop or tell the learner that no voice is there.
#pragma once

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
