// Reading the English of the text box aloud: what is read from real texts of
// the lessons, the game and the quiz, and how presses of R drive a voice.
#include "game/game_screen.h"
#include "lessons/lesson_profile.h"
#include "lessons/scripts/scripts.h"
#include "quiz/quiz_rules.h"
#include "tests/game_walk.h"
#include "tests/lesson_walk.h"
#include "ui/read_aloud.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace quillory {
namespace {

using Lines = std::vector<std::string>;

// The text box's text after the script's effect that writes `line`.
std::string textWith(const LessonScript& script, const std::string& line)
{
    for (const StepTransition& row : script.rows) {
        for (const Effect& e : row.effects) {
            if (std::find(e.lines.begin(), e.lines.end(), line) == e.lines.end())
                continue;
            if (e.kind == EffectKind::WriteLines)
                return writeLinesText(e.lines);
            if (e.kind == EffectKind::SetText)
                return e.text();
        }
    }
    ADD_FAILURE() << "no effect writes " << line;
    return {};
}

TEST(ReadAloudText, LessonQuestionsReadChoiceByChoice)
{
    Lesson form3("C2");
    form3.talk();
    form3.teacher();
    form3.talk();
    ASSERT_EQ(form3.step(), 3);
    EXPECT_EQ(englishToRead(form3.text()),
              (Lines{"This is a pen.", "I love you.", "How old are you?"}));

    // One choice a line under a Japanese sentence to translate.
    EXPECT_EQ(englishToRead(textWith(scripts::form3(), " 2  This is a interesting book.")),
              (Lines{"This is interesting book.", "This is a interesting book.",
                     "This is an interesting book."}));
    // Pattern names in Japanese with their symbols: only the sentence is read.
    EXPECT_EQ(
        englishToRead(textWith(scripts::form11(),
                               "１　第１文型 (S V)　２　第２文型 (S V C)　３　第３文型 (S V O)")),
        Lines{"He stopped smoking."});
}

TEST(ReadAloudText, TeacherSpeechGivesItsEnglishOnly)
{
    Lesson form3("C2");
    form3.talk();
    form3.teacher();
    form3.talk();
    form3.answer(1);
    form3.talk();
    form3.teacher();
    ASSERT_EQ(form3.step(), 6);
    EXPECT_EQ(englishToRead(form3.text()), (Lines{"This is a pen.", "A is B.", "That is a tiger.",
                                                  "He is a student.", "A is B."}));

    // Grammar symbols alone are not read; "I" is a word.
    EXPECT_EQ(englishToRead("Ｓが I のときは、is の代わりに am を使うのよ。S V O と A、B"),
              (Lines{"I", "is", "am"}));
    // List marks, starred sentences, blanks and the alternatives in brackets.
    EXPECT_EQ(englishToRead(textWith(scripts::form13(), "= He went out (  ) the rain.")),
              (Lines{"stop", "stop", "to", "to smoke", "stop", "He stopped to smoke.",
                     "He stopped smoking.", "It was raining, but he went out.",
                     "He went out, blank, the rain."}));
    EXPECT_EQ(
        englishToRead(textWith(scripts::form12(),
                               "* I know that the boy playing the guitar over there loves Lucy.")),
        (Lines{"I know that the boy playing the guitar over there loves Lucy.",
               "Please tell me who painted this picture.", "Do you know where did he live?"}));
    EXPECT_EQ(englishToRead(textWith(scripts::form14(),
                                     "   (1) Before I went to his house, I bought some cakes.")),
              (Lines{"Before I went to his house, I bought some cakes.",
                     "Before I go to his house, I'll buy some cakes.", "went", "go", "went"}));
    EXPECT_EQ(
        englishToRead(textWith(scripts::form11(), "I finished (read, reading, to read) the book.")),
        (Lines{"I finished, read, reading, to read, the book."}));
    // Symbols in brackets and a Japanese note inside a sentence do not cut it.
    EXPECT_EQ(englishToRead("間違い。He(S) seemed(V) very(副詞) happy(C) at that time. だから"),
              Lines{"He seemed very happy at that time."});
    // A text without English leaves nothing to read.
    EXPECT_EQ(englishToRead("私は、森岡　ハナです。よろしくね。（　）"), Lines{});
}

TEST(ReadAloudText, GameLeadInsWithTheirWordListsAndChoices)
{
    Game game;
    game.playTo(15);
    game.play({"Command5"}); // right: the lead-in of question 3 with its word list
    ASSERT_EQ(game.step(), 16);
    const Lines question{"She will not be at home when you, blank, to see her.", "come", "came",
                         "will come", "coming"};
    EXPECT_EQ(englishToRead(game.text()), question);
    game.play({"Command1"}); // the sentence again with the numbered choices
    EXPECT_EQ(englishToRead(game.text()), question);

    // A sentence running on into the next line is one utterance; yen are read.
    EXPECT_EQ(englishToRead(writeLinesText(
                  {"As they suddenly asked me to make a brief speech at the wedding",
                   "party, I had to speak ( ) the cuff.", "1 out   2 off   3 with   4 in"})),
              (Lines{"As they suddenly asked me to make a brief speech at the wedding party, I "
                     "had to speak, blank, the cuff.",
                     "out", "off", "with", "in"}));
    EXPECT_EQ(englishToRead("Masao was in a tight ( ) and asked me to lend him ¥10,000."),
              Lines{"Masao was in a tight, blank, and asked me to lend him 10,000 yen."});
    // A word list after its sentence on the same line, going on into the next.
    EXPECT_EQ(
        englishToRead(writeLinesText({"The lady ( ) was very beautiful.       語群：I spoke to her",
                                      "whom I spoke to her,   whom I spoke,   I spoke to"})),
        (Lines{"The lady, blank, was very beautiful.", "I spoke to her", "whom I spoke to her",
               "whom I spoke", "I spoke to"}));
    // A word list ending in a comma, and a choice in Japanese.
    EXPECT_EQ(englishToRead("語群：　in which,  on which,  to which,  with which,"),
              (Lines{"in which", "on which", "to which", "with which"}));
    EXPECT_EQ(englishToRead("Paris is ( ) old city in Europe.\r\n\r\n1 a   2 an   3 the   4 "
                            "そのまま無冠詞"),
              (Lines{"Paris is, blank, old city in Europe.", "a", "an", "the"}));
    // The pattern question: the Japanese choices and their symbols are not read.
    Game first;
    first.playTo(13);
    EXPECT_EQ(englishToRead(first.text()), Lines{"John and Ben went back to London."});
}

TEST(ReadAloudText, QuizSentences)
{
    EXPECT_EQ(englishToRead(QuizOpening), Lines{"Mary likes music."});
    EXPECT_EQ(englishToRead("正解！いや～、お疲れ様でした！"), Lines{});
    // Every sentence of the chain, alone, as it stands in the praise.
    int sentences = 0;
    for (const QuizRule& rule : quizRules()) {
        for (const Effect& e : rule.effects) {
            if (e.kind != EffectKind::SetText || !e.text().ends_with("は？"))
                continue;
            const Lines read = englishToRead(e.text());
            ASSERT_EQ(read.size(), 1u) << e.text();
            EXPECT_NE(e.text().find(read[0] + " "), std::string::npos) << e.text();
            EXPECT_TRUE(read[0].ends_with(".")) << e.text();
            ++sentences;
        }
    }
    EXPECT_EQ(sentences, 19);
}

// Over every text of every script: what is read is English words only, with no
// choice number, list mark or bracket left, and never the same text twice over.
TEST(ReadAloudText, EveryScriptReadsWordsOnly)
{
    std::vector<std::string> texts;
    auto collect = [&](const std::vector<Effect>& effects) {
        for (const Effect& e : effects) {
            if (e.kind == EffectKind::SetText)
                texts.push_back(e.text());
            else if (e.kind == EffectKind::WriteLines)
                texts.push_back(writeLinesText(e.lines));
        }
    };
    for (const LessonProfile& profile : lessonProfiles()) {
        texts.push_back(profile.greeting);
        for (const StepTransition& row : profile.script().rows)
            collect(row.effects);
    }
    for (const GameRule& rule : gameScript().rules)
        collect(rule.effects);
    for (const QuizRule& rule : quizRules())
        collect(rule.effects);
    ASSERT_GT(texts.size(), 1000u);

    std::size_t read = 0;
    for (const std::string& text : texts) {
        for (const std::string& u : englishToRead(text)) {
            ++read;
            EXPECT_FALSE(u.empty()) << text;
            EXPECT_TRUE(std::all_of(u.begin(), u.end(), [](char c) {
                return c >= 0x20 && c < 0x7F;
            })) << u;
            EXPECT_TRUE(std::any_of(u.begin(), u.end(), [](char c) {
                return std::isalpha(static_cast<unsigned char>(c));
            })) << u;
            EXPECT_EQ(u.find_first_of("()*=+"), std::string::npos) << u;
            EXPECT_FALSE(u.size() > 1 && std::isdigit(static_cast<unsigned char>(u[0])) &&
                         u[1] == ' ')
                << "choice number left in " << u;
            EXPECT_NE(u.front(), ' ');
            EXPECT_NE(u.back(), ' ');
            EXPECT_EQ(u.find("  "), std::string::npos) << u;
        }
    }
    EXPECT_GT(read, 1000u);
}

// A voice that records what it is given and speaks until told it is done.
class FakeVoice : public SpeechOutput {
public:
    bool available() const override { return voice; }
    bool speaking() const override { return talking; }
    void speak(const Lines& utterances) override
    {
        spoken.push_back(utterances);
        talking = true;
    }
    void stop() override
    {
        ++stops;
        talking = false;
    }

    bool voice = true;
    bool talking = false;
    std::vector<Lines> spoken;
    int stops = 0;
};

TEST(ReadAloudPress, SpeaksStopsOnTheSecondPressAndSpeaksAgain)
{
    FakeVoice voice;
    ReadAloud reader(voice);
    const std::string question = "1  This is a pen.      2  I love you.      3  How old are you?";

    ReadAloud::Result r = reader.press(question);
    EXPECT_EQ(r.outcome, ReadAloud::Outcome::Started);
    EXPECT_EQ(r.notice, "");
    ASSERT_EQ(voice.spoken.size(), 1u);
    EXPECT_EQ(voice.spoken[0], (Lines{"This is a pen.", "I love you.", "How old are you?"}));

    r = reader.press(question);
    EXPECT_EQ(r.outcome, ReadAloud::Outcome::Stopped);
    EXPECT_EQ(voice.stops, 1);
    EXPECT_EQ(voice.spoken.size(), 1u);

    // Once the voice is done, a press reads again; leaving stops only a reading.
    EXPECT_EQ(reader.press(question).outcome, ReadAloud::Outcome::Started);
    EXPECT_EQ(voice.spoken.size(), 2u);
    voice.talking = false;
    reader.stop();
    EXPECT_EQ(voice.stops, 1);
    EXPECT_EQ(reader.press(question).outcome, ReadAloud::Outcome::Started);
    reader.stop();
    EXPECT_EQ(voice.stops, 2);

    // Nothing English: the learner is told each time, and nothing is spoken.
    r = reader.press("先生、説明を続けて下さい。");
    EXPECT_EQ(r.outcome, ReadAloud::Outcome::NothingToRead);
    EXPECT_EQ(r.notice, ReadAloud::kNothingNotice);
    EXPECT_EQ(voice.spoken.size(), 3u);
}

TEST(ReadAloudPress, WithoutAVoiceTellsOnceAndGoesOn)
{
    FakeVoice voice;
    voice.voice = false;
    ReadAloud reader(voice);
    ReadAloud::Result r = reader.press("Mary likes music.   は第何文型？");
    EXPECT_EQ(r.outcome, ReadAloud::Outcome::NoVoice);
    EXPECT_EQ(r.notice, ReadAloud::kNoVoiceNotice);
    r = reader.press("Mary likes music.   は第何文型？");
    EXPECT_EQ(r.outcome, ReadAloud::Outcome::NoVoice);
    EXPECT_EQ(r.notice, "");
    EXPECT_TRUE(voice.spoken.empty());
    EXPECT_EQ(voice.stops, 0);
    EXPECT_EQ(reader.voiceLost(), "");
}

TEST(ReadAloudPress, AVoiceThatFailsWhileSpeakingIsToldOnce)
{
    FakeVoice voice;
    ReadAloud reader(voice);
    EXPECT_EQ(reader.press("You make me happy.").outcome, ReadAloud::Outcome::Started);
    // The sound device is gone: the voice stops and is no longer there.
    voice.talking = false;
    voice.voice = false;
    EXPECT_EQ(reader.voiceLost(), ReadAloud::kNoVoiceNotice);
    EXPECT_EQ(reader.voiceLost(), "");
    const ReadAloud::Result r = reader.press("You make me happy.");
    EXPECT_EQ(r.outcome, ReadAloud::Outcome::NoVoice);
    EXPECT_EQ(r.notice, "");
    EXPECT_EQ(voice.spoken.size(), 1u);
}

TEST(SpeechPacing, OneUtteranceAfterTheOtherThroughHiccups)
{
    SpeechPacing pacing;
    EXPECT_EQ(pacing.start({"One.", "Two.", "Three."}), "One.");
    EXPECT_TRUE(pacing.speaking());
    pacing.onSpeaking();
    EXPECT_EQ(pacing.onReady(), "Two.");
    // A hiccup cuts an utterance; the engine goes on to Ready and so does the reading.
    EXPECT_FALSE(pacing.onError());
    EXPECT_EQ(pacing.onReady(), "Three.");
    pacing.onSpeaking();
    EXPECT_EQ(pacing.onReady(), std::nullopt);
    EXPECT_FALSE(pacing.speaking());

    // Failing three times in a row loses the engine; it says nothing more.
    EXPECT_EQ(pacing.start({"A.", "B.", "C."}), "A.");
    EXPECT_FALSE(pacing.onError());
    EXPECT_EQ(pacing.onReady(), "B.");
    EXPECT_FALSE(pacing.onError());
    EXPECT_EQ(pacing.onReady(), "C.");
    EXPECT_TRUE(pacing.onError());
    EXPECT_TRUE(pacing.lost());
    EXPECT_FALSE(pacing.speaking());
    EXPECT_FALSE(pacing.onError()); // lost once only
    EXPECT_EQ(pacing.start({"D."}), std::nullopt);
}

// A voice paced as the real one is, over an engine that the test plays.
class PacedVoice : public SpeechOutput {
public:
    bool available() const override { return !pacing.lost(); }
    bool speaking() const override { return pacing.speaking(); }
    void speak(const Lines& utterances) override { said = pacing.start(utterances); }
    void stop() override { pacing.stop(); }

    SpeechPacing pacing;
    std::optional<std::string> said;
};

TEST(SpeechPacing, AnEngineStuckInItsErrorStateSpeaksAtTheNextPressOrIsLost)
{
    PacedVoice voice;
    ReadAloud reader(voice);
    const std::string question = "1  This is a pen.      2  I love you.";
    EXPECT_EQ(reader.press(question).outcome, ReadAloud::Outcome::Started);
    voice.pacing.onSpeaking();
    // The engine fails and stays failed: what no one hears is not stopped by
    // the next R, which reads again.
    EXPECT_FALSE(voice.pacing.onError());
    voice.said.reset();
    EXPECT_EQ(reader.press(question).outcome, ReadAloud::Outcome::Started);
    EXPECT_EQ(voice.said, "This is a pen.");
    voice.pacing.onSpeaking();
    EXPECT_EQ(voice.pacing.onReady(), "I love you.");

    // Stuck again, and failing again at once when tried: lost, and told.
    EXPECT_FALSE(voice.pacing.onError());
    EXPECT_EQ(reader.press(question).outcome, ReadAloud::Outcome::Started);
    EXPECT_TRUE(voice.pacing.onError());
    EXPECT_EQ(reader.voiceLost(), ReadAloud::kNoVoiceNotice);
    EXPECT_EQ(reader.press(question).outcome, ReadAloud::Outcome::NoVoice);
}

} // namespace
} // namespace quillory
