#include "lessons/lesson_profile.h"
#include "lessons/scripts/scripts.h"
#include "ui/screen_host.h"

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

std::vector<LessonProfile> makeProfiles()
{
    return {
        {.screen = "Form3",
         .caption = "＜１＞５文型 Part 1",
         .background = kCyan,
         .talkCaption = kTalk,
         .backCaption = kEnd,
         .pictureControl = "Picture1",
         .choiceLefts = kThree,
         .teacherPicture = "gal1.bmp",
         .greeting = "私は、森岡　ハナです。よろしくね。では授業を始めましょう。",
         .backTo = "Form1",
         .script = scripts::form3},
        {.screen = "Form4",
         .caption = "５文型Part 2",
         .background = kCyan,
         .talkCaption = kTalk,
         .backCaption = kEnd,
         .pictureControl = "Picture1",
         .textHeight = 1815,
         .choiceLefts = kThree,
         .teacherPicture = "gal1.bmp",
         .greeting = "それでは、５文型 Part 2 の授業をはじめます。",
         .backTo = "Form1",
         .script = scripts::form4},
        {.screen = "Form5",
         .caption = "５文型 Part 3",
         .background = kCyan,
         .talkCaption = kTalk,
         .backCaption = kEnd,
         .pictureControl = "Picture1",
         .choiceLefts = kThree,
         .teacherPicture = "gal1.bmp",
         .greeting = "はい、それでは５文型 Part 3 の授業を始めます。",
         .backTo = "Form1",
         .script = scripts::form5},
        {.screen = "Form6",
         .caption = "５文型 Part 4",
         .background = kCyan,
         .talkCaption = kTalk,
         .backCaption = kEnd,
         .pictureControl = "Picture1",
         .choiceLefts = kThree,
         .teacherPicture = "gal1.bmp",
         .greeting = "はい、それでは５文型 Part 4 の授業を始めます。",
         .backTo = "Form1",
         .script = scripts::form6},
        {.screen = "Form7",
         .caption = "５文型 Part 5",
         .background = kCyan,
         .talkCaption = kTalk,
         .backCaption = kEnd,
         .pictureControl = "Picture1",
         .choiceLefts = kFour,
         .teacherPicture = "gal1.bmp",
         .greeting = "では、５文型 Part 5 の授業を始めます。",
         .backTo = "Form1",
         .script = scripts::form7},
        {.screen = "Form8",
         .caption = "形容詞句",
         .background = kCream,
         .talkCaption = kTalk,
         .backCaption = kMenu,
         .pictureControl = "Picture1",
         .choiceLefts = kFive,
         .teacherPicture = "gal2.bmp",
         .greeting = "私は　辻　真弓です。では形容詞句の授業を始めましょう。",
         .backTo = std::string(kMenuScreen),
         .script = scripts::form8},
        {.screen = "Form9",
         .caption = "形容詞節 Part 1",
         .background = kCream,
         .talkCaption = kTalkSpaced,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kThree,
         .teacherPicture = "gal2.bmp",
         .greeting = "では形容詞節 Part 1 の授業を始めましょう。",
         .backTo = std::string(kMenuScreen),
         .script = scripts::form9},
        {.screen = "Form10",
         .caption = "形容詞節 Part 2",
         .background = kCream,
         .talkCaption = kTalk,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kFour,
         .teacherPicture = "gal2.bmp",
         .greeting = "それでは形容詞節 Part 2 の授業を始めます。",
         .backTo = std::string(kMenuScreen),
         .script = scripts::form10},
        {.screen = "Form11",
         .caption = "名詞句",
         .background = kMint,
         .talkCaption = kTalkSpaced,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kThree,
         .teacherPicture = "gal3.bmp",
         .greeting = "私は浜田　和代。では名詞句の授業を始めます。",
         .backTo = std::string(kMenuScreen),
         .script = scripts::form11},
        {.screen = "Form12",
         .caption = "名詞節",
         .background = kMint,
         .talkCaption = kTalkSpaced,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kThree,
         .teacherPicture = "gal3.bmp",
         .greeting = "それでは名詞節の授業をはじめます。",
         .greetingAfterBack = "それでは名詞節の授業を始めます。",
         .backTo = std::string(kMenuScreen),
         .script = scripts::form12},
        {.screen = "Form13",
         .caption = "副詞句",
         .background = kPink,
         .talkCaption = kTalkSpaced,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kThree,
         .teacherPicture = "gal2.bmp",
         .greeting = "それでは副詞句の授業を始めます。",
         .backTo = std::string(kMenuScreen),
         .script = scripts::form13},
        {.screen = "Form14",
         .caption = "副詞節",
         .background = kPink,
         .talkCaption = kTalkSpaced,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kThree,
         .teacherPicture = "gal2.bmp",
         .greeting = "それでは副詞節の授業を始めましょう。",
         .backTo = std::string(kMenuScreen),
         .backResetsFrom = 2,
         .script = scripts::form14},
        {.screen = "Form15",
         .caption = "仮定法",
         .background = kTeal,
         .talkCaption = kTalkSpaced,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kThree,
         .teacherPicture = "gal1.bmp",
         .greeting = "さあ、仮定法の授業を始めましょう。",
         .backTo = std::string(kMenuScreen),
         .backResetsFrom = 2,
         .script = scripts::form15},
        {.screen = "Form16",
         .caption = "分詞構文",
         .background = kApricot,
         .talkCaption = kTalkSpaced,
         .backCaption = kMenu,
         .pictureControl = "P1",
         .choiceLefts = kThree,
         .teacherPicture = "gal3.bmp",
         .greeting = "さあ、分詞構文の授業を始めましょう。",
         .backTo = std::string(kMenuScreen),
         .backResetsFrom = 2,
         .script = scripts::form16},
    };
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
