#include "app/shell_screens.h"

#include "app/learning.h"
#include "app/review_screens.h"
#include "ui/screen_host.h"

#include <algorithm>
#include <iostream>
#include <system_error>

namespace quillory {

TitleScreen::TitleScreen(ScreenHost& host)
    : Screen(host, "Form1", " Quillory", 7155, 2925, {64, 64, 64})
{
    add(makeLabel("Label1", "Quillory", {1560, 120, 3855, 375}, {255, 255, 192}));
    add(makeButton("C1", "スタート", {1560, 1920, 3855, 495}));
    bindKey(Key::Return, "C1");
}

void TitleScreen::onClick(std::string_view control)
{
    if (control != "C1")
        return;
    // Pictures are loaded by bare name, so the program's folder becomes current.
    std::error_code error;
    std::filesystem::current_path(host().programFolder(), error);
    if (error) {
        std::cerr << "quillory: cannot make " << host().programFolder()
                  << " current: " << error.message() << "; pictures may not be found\n";
    }
    host().hideForm("Form1");
    host().showForm(kMenuScreen);
}

const std::vector<MenuEntry>& MenuScreen::entries()
{
    auto at = [](int left, int top) { return Rect{left, top, 2055, 375}; };
    static const std::vector<MenuEntry> kEntries{
        {"Command1", "ゲームの説明", at(120, 120), "Form2"},
        {"C2", "＜１＞５文型 Part 1", at(120, 720), "Form3"},
        {"C3", "＜２＞５文型 Part 2", at(120, 1320), "Form4"},
        {"C4", "＜３＞５文型 Part 3", at(120, 1920), "Form5"},
        {"C5", "＜４＞５文型 part 4", at(120, 2520), "Form6"},
        {"C6", "＜５＞５文型 Part 5", at(120, 3120), "Form7"},
        {"C7", "怒濤の文型当て問題", at(120, 3720), "Form18"},
        {"C8", "＜６＞形容詞句　　　　", at(2400, 720), "Form8"},
        {"C9", "＜７＞形容詞節 Part 1", at(2400, 1320), "Form9"},
        {"C10", "＜８＞形容詞節 Part 2", at(2400, 1920), "Form10"},
        {"C11", "＜９＞名詞句　　　　　　", at(2400, 2520), "Form11"},
        {"C12", "＜１０＞名詞節　　　　　", at(2400, 3120), "Form12"},
        {"C13", "＜１１＞副詞句         ", at(4680, 720), "Form13"},
        {"C14", "＜１２＞副詞節         ", at(4680, 1320), "Form14"},
        {"C15", "＜１３＞仮定法　　　　 ", at(4680, 1920), "Form15"},
        {"C16", "＜１４＞分詞構文　　　", at(4680, 2520), "Form16"},
        {"C17", "THE LANTERN ROAD", {4680, 3120, 2055, 975}, "Form17"},
        {"C18", "終　　了", at(4680, 120), ""},
    };
    return kEntries;
}

MenuScreen::MenuScreen(ScreenHost& host, Learning* learning)
    : Screen(host, std::string(kMenuScreen), "Quilloryメニュー", 6855, 4380, {0, 0, 0}),
      learning_(learning)
{
    add(makeLabel("Label1", "Quillory", {2160, 120, 2535, 375}, {255, 255, 192}));
    for (const MenuEntry& e : entries())
        add(makeButton(e.button, e.caption, e.rect));
    if (learning_ == nullptr)
        return;
    // In the free cell below the tenth lesson, and a line along the bottom.
    add(makeButton("Review", "復習", {2400, 3720, 2055, 375})).addition = true;
    add(makeLabel("Notice", "", {120, 4125, 6615, 240}, {255, 255, 192})).addition = true;
    setVisible("Notice", false);
}

void MenuScreen::shown()
{
    if (learning_ == nullptr)
        return;
    const LearnerRecord& record = learning_->record();
    for (const MenuEntry& e : entries()) {
        if (std::find(recordedScreens().begin(), recordedScreens().end(), e.opens) ==
            recordedScreens().end())
            continue;
        const ScreenProgress p = record.progress(e.opens);
        setProgress(e.button,
                    Progress{p.reached, p.last > 0 ? p.last : lastStepOf(e.opens), p.finished,
                             p.firstTryRight, p.firstTryAsked, progressSummary(p)});
    }
    const int due = static_cast<int>(record.due(learning_->today()).size());
    setDue("Review", due);
    setText("Review", due > 0 ? "復習（" + std::to_string(due) + "）" : std::string("復習"));
    const std::string notice = learning_->takeNotice();
    if (!notice.empty())
        notice_ = notice;
    setText("Notice", notice_);
    setVisible("Notice", !notice_.empty());
}

void MenuScreen::leave()
{
    // The notice stays until the menu is left.
    notice_.clear();
    if (learning_ != nullptr)
        setVisible("Notice", false);
}

void MenuScreen::onClick(std::string_view control)
{
    if (control == "Review") {
        leave();
        host().hideForm(kMenuScreen);
        host().showForm("Review");
        return;
    }
    for (const MenuEntry& e : entries()) {
        if (e.button != control)
            continue;
        if (e.opens.empty()) {
            host().endProgram();
            return;
        }
        leave();
        host().hideForm(kMenuScreen);
        host().showForm(e.opens);
        return;
    }
}

const std::vector<std::string>& ExplanationScreen::helpLines()
{
    static const std::vector<std::string> kLines{
        "これは、楽しみながら英語の学習ができるゲームです。",
        "メニューに１４の学習項目がありますので、学習したい",
        "項目をクリックして下さい。授業が始まります。",
        "どの項目から始めても構いませんが、番号順に進む方が",
        "効果的になっています。",
        "授業はすべてコマンド方式になっています。",
        "「話す/質問する」は先生に話しかけたり、質問したり",
        "するときのコマンドです。",
        "「先生が話す」は、まさに先生が話したり、説明をする",
        "ためのコマンドです。どちらも流れにそって、選択して",
        "下さい。　なお、途中で先生が問題を出したり、質問を",
        "したりすることがあります。そのときには、返答用の",
        "番号が現れますので、適当なものをクリックして下さい。",
        "一通り学習が終了したら、「THE LANTERN ROAD」に挑戦",
        "して下さい。これは、問題を解くことでストーリーが",
        "展開する、アドベンチャーゲームです。",
        "もちろん、自信があるならいきなりやってみても",
        "構いません。では、頑張って下さい。",
    };
    return kLines;
}

ExplanationScreen::ExplanationScreen(ScreenHost& host)
    : Screen(host, "Form2", "ゲームの説明", 7155, 4305, {255, 255, 128})
{
    add(makeText("Text1", "説明", {600, 480, 6015, 3015}, true, Rgb{255, 255, 255}));
    add(makeButton("Command1", "メニューに戻る", {2400, 3720, 2415, 375}));
    bindKey(Key::Escape, "Command1");
}

void ExplanationScreen::load()
{
    setText("Text1", writeLinesText(helpLines()));
}

void ExplanationScreen::onClick(std::string_view control)
{
    if (control != "Command1")
        return;
    host().showForm(kMenuScreen);
    host().hideForm("Form2");
}

} // namespace quillory
