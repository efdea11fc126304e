// Reading aloud and the conversation so far, on the real widgets: keys, the text
// box's menu, the history over the screen at any zoom, and the voice's notices.
#include "tests/view_fixture.h"
#include "tools/replay.h"
#include "ui/conversation.h"
#include "ui/qt/fonts.h"
#include "ui/qt/history_view.h"
#include "ui/qt/keys.h"
#include "ui/read_aloud.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace quillory;

namespace {

// A voice that keeps what it was given, and speaks until stopped.
struct Recorder {
    std::vector<std::vector<std::string>> spoken;
    int stops = 0;
    bool talking = false;
    bool gone = false;
};

class RecordingVoice : public SpeechOutput {
public:
    explicit RecordingVoice(Recorder& record) : record_(record) {}
    ~RecordingVoice() override { record_.gone = true; }
    bool available() const override { return true; }
    bool speaking() const override { return record_.talking; }
    void speak(const std::vector<std::string>& utterances) override
    {
        record_.spoken.push_back(utterances);
        record_.talking = true;
    }
    void stop() override
    {
        ++record_.stops;
        record_.talking = false;
    }

private:
    Recorder& record_;
};

QAction* entry(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class ReadHistoryTest : public ViewTest {
    Q_OBJECT

private slots:
    void initTestCase() { applyLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void readAloudByKeyAndMenuStopsAndEndsWithTheScreen()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        Recorder record;
        replay.view().setSpeechOutput(std::make_unique<RecordingVoice>(record));
        for (const char* command : {"click C1", "click C2", "key Return", "key Return"})
            replay.execute(command);
        const std::string before = replay.state();
        replay.execute("key Return"); // the first question, with its choices
        const std::string question = replay.state();

        ScreenWindow* lesson = replay.view().visibleWindow();
        QCOMPARE(*replay.execute("key R"), question); // the driver's output does not change
        QCOMPARE(record.spoken.size(), std::size_t(1));
        QCOMPARE(record.spoken[0],
                 (std::vector<std::string>{"This is a pen.", "I love you.", "How old are you?"}));
        replay.execute("key R");
        QCOMPARE(record.stops, 1);
        QCOMPARE(record.spoken.size(), std::size_t(1));
        QVERIFY(before != question);

        // The same from the text box's menu, which names the keys.
        std::unique_ptr<QMenu> menu(lesson->makeTextMenu());
        QAction* read = entry(*menu, readAloudEntry());
        QAction* history = entry(*menu, historyEntry());
        QVERIFY(read != nullptr && history != nullptr);
        QCOMPARE(read->shortcut(), QKeySequence(Qt::Key_R));
        QCOMPARE(history->shortcut(), QKeySequence(Qt::Key_H));
        QVERIFY(menu->actions().size() > 2); // copying and selecting stay
        read->trigger();
        QCOMPARE(record.spoken.size(), std::size_t(2));
        QVERIFY(record.talking);
        // Going back ends the reading of the screen left.
        replay.execute("key Escape");
        QCOMPARE(record.stops, 2);
        QVERIFY(lesson->lastNotice().isEmpty());

        // A text without English: the learner is told, and nothing is spoken.
        replay.execute("key Return");
        replay.execute("click C17");
        ScreenWindow* game = replay.view().visibleWindow();
        replay.execute("key R");
        QCOMPARE(record.spoken.size(), std::size_t(2));
        QCOMPARE(game->lastNotice(), QString::fromUtf8(ReadAloud::kNothingNotice.data(),
                                                       ReadAloud::kNothingNotice.size()));
    }

    void aVoiceIsStoppedBeforeItGoes()
    {
        Recorder first;
        Recorder second;
        auto replay = std::make_unique<Replay>(QUILLORY_BUILD_DIR);
        replay->view().setSpeechOutput(std::make_unique<RecordingVoice>(first));
        for (const char* command :
             {"click C1", "click C2", "key Return", "key Return", "key Return", "key R"})
            replay->execute(command);
        QVERIFY(first.talking);
        replay->view().setSpeechOutput(std::make_unique<RecordingVoice>(second));
        QVERIFY(first.gone);
        QCOMPARE(first.stops, 1);
        replay->execute("key R");
        QVERIFY(second.talking);
        replay.reset(); // the program goes, and its voice with it
        QVERIFY(second.gone);
        QCOMPARE(second.stops, 1);
    }

    void theHistoryGivesTheFocusBackOnlyWhereItStillCan()
    {
        QWidget window;
        window.resize(200, 100);
        auto* field = new QPlainTextEdit(&window);
        HistoryView history(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        field->setFocus();
        history.open("the conversation");
        QVERIFY(history.text()->hasFocus());
        delete field; // what had the focus is gone while the history is open
        history.dismiss();
        QVERIFY(!history.isOpen());
        QVERIFY(window.hasFocus());
    }

    void withoutAVoiceTheLearnerIsToldOnceAndTheTooltipsKeepIt()
    {
        // The offscreen platform has no voice.
        Replay replay(QUILLORY_BUILD_DIR);
        for (const char* command : {"click C1", "click C7"})
            replay.execute(command);
        ScreenWindow* quiz = replay.view().visibleWindow();
        QWidget* box = quiz->controlWidget("T1");
        QVERIFY(box->toolTip().contains("R") && box->toolTip().contains("H"));
        const std::string state = replay.state();
        QCOMPARE(*replay.execute("key R"), state);
        const QString notice =
            QString::fromUtf8(ReadAloud::kNoVoiceNotice.data(), ReadAloud::kNoVoiceNotice.size());
        QCOMPARE(quiz->lastNotice(), notice);
        QVERIFY(box->toolTip().contains(notice));
        QVERIFY(QAccessible::queryAccessibleInterface(box)
                    ->text(QAccessible::Description)
                    .contains(notice));
        replay.execute("key Escape");
        replay.execute("click C2");
        ScreenWindow* lesson = replay.view().visibleWindow();
        QVERIFY(lesson->controlWidget("T1")->toolTip().contains(notice)); // made after
        replay.execute("key R");
        QVERIFY(lesson->lastNotice().isEmpty()); // said once only
        QCOMPARE(replay.view().visibleWindow(), lesson);
        // Screens without a conversation have neither keys nor tooltip for them.
        replay.execute("key Escape");
        QVERIFY(replay.view().window("Form1")->history() == nullptr);
    }

    void historyOverTheScreenClosesWithEscapeOrH()
    {
        Replay replay(QUILLORY_BUILD_DIR, 2);
        for (const char* command :
             {"click C1", "click C2", "key Return", "key Return", "key Return", "key 2"})
            replay.execute(command);
        ScreenWindow* lesson = replay.view().visibleWindow();
        const Screen& screen = lesson->model();
        const std::string state = replay.state();

        lesson->controlWidget("T1")->setFocus();
        QCOMPARE(*replay.execute("key H"), state);
        HistoryView* history = lesson->history();
        QVERIFY(history != nullptr && history->isOpen());
        QCOMPARE(history->geometry(), lesson->rect());
        QCOMPARE(history->text()->toPlainText().toStdString(),
                 conversationText(screen.conversation()));
        QVERIFY(history->text()->toPlainText().endsWith(
            QString::fromStdString(screen.control("T1").text)));
        QVERIFY(history->text()->hasFocus());
        QVERIFY(history->text()->isReadOnly());
        QCOMPARE(history->text()->accessibleName(), HistoryView::title());
        QCOMPARE(history->text()->font().pixelSize(), kTextPixels * 2);
        QCOMPARE(history->text()->textCursor().position(),
                 history->text()->document()->characterCount() - 1); // newest in view
        // No caret: read only, selectable by the mouse alone.
        QCOMPARE(history->text()->cursorWidth(), 0);
        QCOMPARE(history->text()->textInteractionFlags(), Qt::TextSelectableByMouse);
        // The question with its choices, then the answer given, each once.
        const QString shown = history->text()->toPlainText();
        QCOMPARE(shown.count(QStringLiteral("【出題】")), 1);
        QCOMPARE(shown.count(QStringLiteral("【あなたの答え】２")), 1);
        QVERIFY(shown.indexOf(QStringLiteral("【出題】")) <
                shown.indexOf(QStringLiteral("【あなたの答え】２")));
        QVERIFY(
            shown.contains(QRegularExpression(QStringLiteral("【あなたの答え】２（(不)?正解）"))));
        const QStringList paragraphs = shown.split(QStringLiteral("\n【"));
        QCOMPARE(QSet<QString>(paragraphs.begin(), paragraphs.end()).size(), paragraphs.size());

        // While it is open the screen's keys do nothing: not even Escape's way back.
        QCOMPARE(*replay.execute("key Return"), state);
        QCOMPARE(*replay.execute("key 1"), state);
        QVERIFY(!lesson->controlWidget("Command1")->isEnabled());
        // It follows the zoom.
        QTest::keyClick(history->text(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(history->geometry(), lesson->rect());
        QCOMPARE(history->text()->font().pixelSize(),
                 static_cast<int>(kTextPixels * replay.view().scale()));
        QCOMPARE(*replay.execute("key Escape"), state);
        QVERIFY(!history->isOpen());
        QVERIFY(lesson->controlWidget("Command1")->isEnabled());
        QVERIFY(lesson->controlWidget("T1")->hasFocus());

        // H opens and closes; the menu's entry opens it too, with what came since.
        replay.execute("key Return");
        replay.execute("key H");
        QVERIFY(history->isOpen());
        QVERIFY(history->text()->toPlainText().endsWith(QStringLiteral("わかります。")));
        replay.execute("key H");
        QVERIFY(!history->isOpen());
        std::unique_ptr<QMenu> menu(lesson->makeTextMenu());
        QCOMPARE(menu->font().pixelSize(), history->text()->font().pixelSize()); // zoomed too
        entry(*menu, historyEntry())->trigger();
        QVERIFY(history->isOpen());
        replay.execute("key H");

        // Its 「閉じる」 button and a click beside the panel close it; one inside does not.
        replay.execute("key H");
        QCOMPARE(history->closeButton()->text(), QStringLiteral("閉じる"));
        QTest::mouseClick(history->closeButton(), Qt::LeftButton);
        QVERIFY(!history->isOpen());
        replay.execute("key H");
        QTest::mouseClick(history, Qt::LeftButton, {}, history->panel()->geometry().center());
        QVERIFY(history->isOpen());
        QTest::mouseClick(history, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!history->isOpen());

        // Back: the next entry's history holds the greeting alone.
        replay.execute("key Escape");
        replay.execute("key Return");
        replay.execute("click C2");
        replay.execute("key H");
        QCOMPARE(
            history->text()->toPlainText(),
            QStringLiteral("【先生】\n私は、森岡　ハナです。よろしくね。では授業を始めましょう。"));
    }
};

QTEST_MAIN(ReadHistoryTest)
#include "view_read_history_test.moc"
