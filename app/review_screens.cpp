#include "app/review_screens.h"

#include "app/shell_screens.h"
#include "game/game_screen.h"
#include "lessons/lesson_profile.h"
#include "lessons/lesson_script.h"
#include "quiz/quiz_rules.h"
#include "record/record_file.h"
#include "ui/screen_host.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr Rgb kReviewBackground{224, 240, 255};
constexpr int kMaxAnswers = 5;
const int kAnswerLefts[kMaxAnswers] = {3840, 4440, 5040, 5640, 6240};

std::string answerButton(int k)
{
    return "Command" + std::to_string(3 + k);
}

Control added(Control control)
{
    control.addition = true;
    return control;
}

} // namespace

const std::vector<std::string>& recordedScreens()
{
    static const std::vector<std::string> kScreens = [] {
        std::vector<std::string> screens;
        for (const MenuEntry& e : MenuScreen::entries()) {
            if (e.opens == "Form18" || e.opens == "Form17" || lessonProfile(e.opens) != nullptr)
                screens.push_back(e.opens);
        }
        return screens;
    }();
    return kScreens;
}

int lastStepOf(const std::string& screen)
{
    if (screen == "Form18")
        return QuizDone;
    if (screen == "Form17")
        return gameScript().story.endStep;
    if (const LessonProfile* profile = lessonProfile(screen))
        return lastStep(profile->script());
    return 0;
}

ReviewScreen::ReviewScreen(ScreenHost& host, Learning& learning)
    : Screen(host, "Review", "復習", 7155, 4305, kReviewBackground), learning_(learning)
{
    add(added(makePicture("P1", {360, 0, 3135, 2295})));
    add(added(makeText("T1", "問題", {360, 2400, 6495, 1695}, true)));
    add(added(makeButton("Next", "次の問題", {3840, 240, 2175, 375}, false)));
    add(added(makeButton("Record", "学習の記録", {3840, 720, 2175, 375})));
    add(added(makeButton("Back", "メニューに戻る", {3840, 1200, 2175, 375})));
    static const char* const kDigits[] = {"１", "２", "３", "４", "５"};
    for (int k = 1; k <= kMaxAnswers; ++k) {
        add(added(makeButton(answerButton(k), kDigits[k - 1], {kAnswerLefts[k - 1], 1800, 495, 495},
                             false)));
        bindKey(static_cast<Key>(static_cast<int>(Key::Digit1) + k - 1), answerButton(k));
    }
    bindKey(Key::Return, "Next", KeyBinding::When::Always, true);
    bindKey(Key::Escape, "Back");
}

void ReviewScreen::shown()
{
    clearConversation();
    next();
}

void ReviewScreen::next()
{
    asked_.reset();
    answered_ = false;
    for (int k = 1; k <= kMaxAnswers; ++k)
        setVisible(answerButton(k), false);
    setVisible("Next", false);
    for (const DueQuestion& due : learning_.record().due(learning_.today())) {
        asked_ = askedQuestion(due.screen, due.question);
        if (asked_)
            break;
    }
    if (!asked_) {
        setVisible("P1", false);
        std::string text = "今日の復習はありません。";
        if (const auto day = learning_.record().nextDue(learning_.today()))
            text += "\r\n次の復習は " + *day + " です。";
        say(Speaker::Teacher, text);
        return;
    }
    setVisible("P1", !asked_->picture.empty());
    if (!asked_->picture.empty())
        showPicture("P1", asked_->picture);
    say(Speaker::Question, asked_->caption + "\r\n" + asked_->text);
    for (std::size_t i = 0; i < asked_->captions.size() && i < kMaxAnswers; ++i) {
        const int k = static_cast<int>(i) + 1;
        setText(answerButton(k), asked_->captions[i]);
        setVisible(answerButton(k), true);
    }
}

void ReviewScreen::answer(int k)
{
    if (!asked_ || answered_)
        return;
    const bool right = asked_->right && (*asked_->right == 0 || *asked_->right == k);
    // Kept as a review of its own screen's question, not as an answer on this screen.
    logAnswer(control(answerButton(k)).text,
              asked_->right.has_value() ? std::optional<bool>(right) : std::nullopt);
    learning_.record().reviewed(asked_->screen, asked_->step, right, learning_.today());
    answered_ = true;
    for (int j = 1; j <= kMaxAnswers; ++j)
        setVisible(answerButton(j), false);
    say(Speaker::Feedback, asked_->feedback[static_cast<std::size_t>(k - 1)]);
    setVisible("Next", true);
}

bool ReviewScreen::acts(std::string_view button) const
{
    return button != "Next" || answered_;
}

void ReviewScreen::onClick(std::string_view control)
{
    if (control == "Next")
        return next();
    if (control == "Back" || control == "Record") {
        host().showForm(control == "Back" ? kMenuScreen : std::string_view("Record"));
        host().hideForm(name());
        return;
    }
    for (int k = 1; k <= kMaxAnswers; ++k) {
        if (control == answerButton(k))
            return answer(k);
    }
}

namespace {

constexpr Rgb kRecordBackground{240, 244, 232};
constexpr Rgb kHeadColour{208, 224, 192};
constexpr Rgb kRowColour{255, 255, 255};
constexpr int kRowTop = 480;
constexpr int kRowHeight = 270;
constexpr int kBarCells = 10;

struct Column {
    const char* name;
    const char* heading;
    int left;
    int width;
};

constexpr Column kColumns[] = {
    {"Name", "項目", 120, 2340},         {"State", "進み具合", 2520, 1080},
    {"Rate", "初回正答", 3660, 900},     {"Bar", "初回正答率", 4620, 2400},
    {"Visit", "最後の学習", 7080, 1200},
};

std::string cell(const Column& column, std::size_t row)
{
    return std::string(column.name) + std::to_string(row + 1);
}

} // namespace

RecordScreen::RecordScreen(ScreenHost& host, Learning& learning)
    : Screen(host, "Record", "学習の記録", 8400, 5760, kRecordBackground), learning_(learning)
{
    for (const Column& c : kColumns)
        add(added(makeLabel(std::string("Head") + c.name, c.heading, {c.left, 120, c.width, 315},
                            kHeadColour)));
    const std::size_t rows = recordedScreens().size();
    for (std::size_t i = 0; i < rows; ++i) {
        const int top = kRowTop + static_cast<int>(i) * kRowHeight;
        for (const Column& c : kColumns)
            add(added(
                makeLabel(cell(c, i), "", {c.left, top, c.width, kRowHeight - 30}, kRowColour)));
    }
    // Under the rows a line for the confirmation or an outcome, then the buttons.
    const int line = kRowTop + static_cast<int>(rows) * kRowHeight + 60;
    const int bottom = line + 405;
    add(added(makeButton("Clear", "記録を消す", {120, bottom, 2055, 375})));
    add(added(makeButton("Export", "記録を書き出す", {2325, bottom, 1800, 375})));
    add(added(makeButton("Import", "記録を読み込む", {4275, bottom, 1800, 375})));
    add(added(makeButton("Back", "戻る", {6225, bottom, 2055, 375})));
    add(added(makeLabel("Confirm", "記録を消しますか？　今の記録は別のファイルに写して残します。",
                        {120, line, 8160, 345}, {255, 255, 192})));
    add(added(makeLabel("Message", "", {120, line, 8160, 345}, {255, 255, 192})));
    setVisible("Message", false);
    add(added(makeButton("Yes", "消す", {2400, bottom, 1455, 375}, false)));
    add(added(makeButton("No", "やめる", {4020, bottom, 1455, 375}, false)));
    setVisible("Confirm", false);
    bindKey(Key::Escape, "Back");
}

void RecordScreen::shown()
{
    confirm(false);
    tell({});
    fill();
}

void RecordScreen::fill()
{
    const std::vector<std::string>& screens = recordedScreens();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const ScreenProgress p = learning_.record().progress(screens[i]);
        std::string name = screens[i];
        for (const MenuEntry& e : MenuScreen::entries()) {
            if (e.opens == screens[i])
                name = e.caption;
        }
        // Padded, the label starts at its left edge like the others.
        setText(cell(kColumns[0], i), name + " ");
        const int last = p.last > 0 ? p.last : lastStepOf(screens[i]);
        setText(cell(kColumns[1], i), p.finished ? std::string("完了")
                                      : p.lastVisit.empty()
                                          ? std::string("未学習")
                                          : std::to_string(p.reached) + "/" + std::to_string(last));
        const bool asked = p.firstTryAsked > 0;
        setText(cell(kColumns[2], i),
                asked ? std::to_string(p.firstTryRight) + "/" + std::to_string(p.firstTryAsked)
                      : "－");
        const int filled =
            asked ? (p.firstTryRight * kBarCells + p.firstTryAsked / 2) / p.firstTryAsked : 0;
        std::string bar;
        for (int c = 0; c < kBarCells; ++c)
            bar += c < filled ? "■" : "□";
        setText(cell(kColumns[3], i), asked ? bar : "");
        setText(cell(kColumns[4], i), p.lastVisit.empty() ? "－" : p.lastVisit.substr(0, 10));
    }
}

void RecordScreen::confirm(bool asking)
{
    setVisible("Confirm", asking);
    setVisible("Yes", asking);
    setVisible("No", asking);
    setVisible("Clear", !asking);
    setVisible("Export", !asking);
    setVisible("Import", !asking);
    if (asking)
        tell({});
}

void RecordScreen::tell(const std::string& message)
{
    setText("Message", message);
    setVisible("Message", !message.empty());
}

void RecordScreen::exportRecord()
{
    FileExchange* files = host().fileExchange();
    if (files == nullptr)
        return tell("ここでは記録をファイルに書き出せません。");
    const std::optional<std::string> text = learning_.record().exportText();
    if (!text)
        return tell("記録を読み出せなかったため、書き出していません。");
    waiting_ = true;
    files->save("quillory-record-" + learning_.today() + ".txt", *text,
                [this, alive = std::weak_ptr<bool>(alive_)](FileOutcome outcome) {
                    if (alive.expired())
                        return;
                    waiting_ = false;
                    tell(outcome == FileOutcome::Done ? "記録を書き出しました。"
                         : outcome == FileOutcome::Failed ? "ファイルに書き込めませんでした。"
                                                            "記録は書き出していません。"
                                                          : "");
                });
}

void RecordScreen::importRecord()
{
    FileExchange* files = host().fileExchange();
    if (files == nullptr)
        return tell("ここではファイルから記録を読み込めません。");
    waiting_ = true;
    files->open(RecordFileLimit, [this, alive = std::weak_ptr<bool>(alive_)](
                                     FileOutcome outcome, const std::string& contents) {
        if (alive.expired())
            return;
        waiting_ = false;
        opened(outcome, contents);
    });
}

void RecordScreen::opened(FileOutcome outcome, const std::string& contents)
{
    if (outcome == FileOutcome::Cancelled)
        return tell({});
    if (outcome == FileOutcome::Failed)
        return tell("ファイルを読めませんでした。何も変えていません。");
    const RecordImport result = learning_.record().importText(contents);
    using Outcome = RecordImport::Outcome;
    switch (result.outcome) {
    case Outcome::Imported:
        tell("記録を読み込みました。");
        break;
    case Outcome::NotRecord:
        tell("このファイルは Quillory の記録ではありません。何も変えていません。");
        break;
    case Outcome::Newer:
        tell("このファイルは新しい版の Quillory の記録です。この版では読み込めません。"
             "何も変えていません。");
        break;
    case Outcome::TooLarge:
        tell("このファイルは記録としては大きすぎます。何も変えていません。");
        break;
    case Outcome::Damaged:
        tell("この記録のファイルは " + std::to_string(result.line) +
             " 行目が壊れています。何も変えていません。");
        break;
    case Outcome::NotKept:
        tell("記録を保存できなかったため、読み込みませんでした。何も変えていません。");
        break;
    }
    fill();
}

bool RecordScreen::acts(std::string_view button) const
{
    return !waiting_ || (button != "Export" && button != "Import");
}

void RecordScreen::onClick(std::string_view control)
{
    if ((control == "Export" || control == "Import") && waiting_)
        return;
    if (control == "Export")
        return exportRecord();
    if (control == "Import")
        return importRecord();
    if (control == "Clear")
        return confirm(true);
    if (control == "No")
        return confirm(false);
    if (control == "Yes") {
        learning_.record().clear();
        confirm(false);
        return fill();
    }
    if (control == "Back") {
        host().showForm("Review");
        host().hideForm(name());
    }
}

} // namespace quillory
