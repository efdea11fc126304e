#include "lessons/lesson_profile.h"
#include "lessons/scripts/scripts.h"

namespace quillory {

namespace {

const std::vector<int> kThree{3840, 4680, 5520};
const std::vector<int> kFour{3840, 4680, 5520, 6360};
const std::vector<int> kFive{3840, 4440, 5040, 5640, 6240};

constexpr Rgb kCyan{192, 255, 255};
constexpr Rgb kCream{255, 255, 224};
constexpr Rgb kMint{192, 255, 192};
constexpr Rgb kPink{255, 192, 255};
constexpr Rgb kTeal{0, 128, 128};
constexpr Rgb kApricot{255, 192, 128};

const char* const kTalk = "話す/ 質問する";
const char* const kTalkSpaced = "話す / 質問する";
const char* const kEnd = "終　　　　　了";
const char* const kMenu = "メニューに戻る";

LessonProfile lesson(std::string screen, std::string caption, Rgb background, std::string talk,
                     std::string backCaption, std::string picture, std::vector<int> choices,
                     std::string teacher, std::string greeting, std::string backTo,
                     const LessonScript& (*script)())
{
    LessonProfile p;
    p.screen = std::move(screen);
    p.caption = std::move(caption);
    p.background = background;
    p.talkCaption = std::move(talk);
    p.backCaption = std::move(backCaption);
    p.pictureControl = std::move(picture);
    p.choiceLefts = std::move(choices);
    p.teacherPicture = std::move(teacher);
    p.greeting = greeting;
    p.greetingAfterBack = std::move(greeting);
    p.backTo = std::move(backTo);
    p.script = script;
    return p;
}

std::vector<LessonProfile> makeProfiles()
{
    std::vector<LessonProfile> p;
    p.push_back(lesson("Form3", "＜１＞５文型 Part 1", kCyan, kTalk, kEnd, "Picture1", kThree,
                       "gal1.bmp", "私は、森岡　ハナです。よろしくね。では授業を始めましょう。",
                       "Form1", scripts::form3));
    p.push_back(lesson("Form4", "５文型Part 2", kCyan, kTalk, kEnd, "Picture1", kThree, "gal1.bmp",
                       "それでは、５文型 Part 2 の授業をはじめます。", "Form1", scripts::form4));
    p.back().textHeight = 1815;
    p.push_back(lesson("Form5", "５文型 Part 3", kCyan, kTalk, kEnd, "Picture1", kThree, "gal1.bmp",
                       "はい、それでは５文型 Part 3 の授業を始めます。", "Form1", scripts::form5));
    p.push_back(lesson("Form6", "５文型 Part 4", kCyan, kTalk, kEnd, "Picture1", kThree, "gal1.bmp",
                       "はい、それでは５文型 Part 4 の授業を始めます。", "Form1", scripts::form6));
    p.push_back(lesson("Form7", "５文型 Part 5", kCyan, kTalk, kEnd, "Picture1", kFour, "gal1.bmp",
                       "では、５文型 Part 5 の授業を始めます。", "Form1", scripts::form7));
    p.push_back(lesson("Form8", "形容詞句", kCream, kTalk, kMenu, "Picture1", kFive, "gal2.bmp",
                       "私は　辻　真弓です。では形容詞句の授業を始めましょう。", "Form20",
                       scripts::form8));
    p.push_back(lesson("Form9", "形容詞節 Part 1", kCream, kTalkSpaced, kMenu, "P1", kThree,
                       "gal2.bmp", "では形容詞節 Part 1 の授業を始めましょう。", "Form20",
                       scripts::form9));
    p.push_back(lesson("Form10", "形容詞節 Part 2", kCream, kTalk, kMenu, "P1", kFour, "gal2.bmp",
                       "それでは形容詞節 Part 2 の授業を始めます。", "Form20", scripts::form10));
    p.push_back(lesson("Form11", "名詞句", kMint, kTalkSpaced, kMenu, "P1", kThree, "gal3.bmp",
                       "私は浜田　和代。では名詞句の授業を始めます。", "Form20", scripts::form11));
    p.push_back(lesson("Form12", "名詞節", kMint, kTalkSpaced, kMenu, "P1", kThree, "gal3.bmp",
                       "それでは名詞節の授業をはじめます。", "Form20", scripts::form12));
    p.back().greetingAfterBack = "それでは名詞節の授業を始めます。";
    p.push_back(lesson("Form13", "副詞句", kPink, kTalkSpaced, kMenu, "P1", kThree, "gal2.bmp",
                       "それでは副詞句の授業を始めます。", "Form20", scripts::form13));
    p.push_back(lesson("Form14", "副詞節", kPink, kTalkSpaced, kMenu, "P1", kThree, "gal2.bmp",
                       "それでは副詞節の授業を始めましょう。", "Form20", scripts::form14));
    p.back().backResetsFrom = 2;
    p.push_back(lesson("Form15", "仮定法", kTeal, kTalkSpaced, kMenu, "P1", kThree, "gal1.bmp",
                       "さあ、仮定法の授業を始めましょう。", "Form20", scripts::form15));
    p.back().backResetsFrom = 2;
    p.push_back(lesson("Form16", "分詞構文", kApricot, kTalkSpaced, kMenu, "P1", kThree, "gal3.bmp",
                       "さあ、分詞構文の授業を始めましょう。", "Form20", scripts::form16));
    p.back().backResetsFrom = 2;
    return p;
}

} // namespace

const std::vector<LessonProfile>& lessonProfiles()
{
    static const std::vector<LessonProfile> profiles = makeProfiles();
    return profiles;
}

const LessonProfile* lessonProfile(const std::string& screen)
{
    for (const LessonProfile& p : lessonProfiles()) {
        if (p.screen == screen)
            return &p;
    }
    return nullptr;
}

} // namespace quillory
