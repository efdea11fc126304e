// The real widgets: navigation, a lesson's way back, the close box, pictures and
// the file dialogs.
#include "tests/view_fixture.h"
#include "tools/replay.h"
#include "ui/qt/file_dialogs.h"
#include "ui/qt/picture_box.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <string>

using quillory::Replay;
using quillory::ScreenWindow;

namespace {

QJsonObject run(Replay& replay, const char* command)
{
    const auto out = replay.execute(command);
    if (!out)
        return {};
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(*out), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", out->c_str());
    return doc.object();
}

QJsonObject controlOf(const QJsonObject& state, const QString& name)
{
    for (const QJsonValue& c : state["controls"].toArray()) {
        if (c["name"].toString() == name)
            return c.toObject();
    }
    return {};
}

QStringList visibleWindows()
{
    QStringList names;
    // The screens shown in the one main window.
    for (QWidget* w : QApplication::allWidgets()) {
        if (qobject_cast<ScreenWindow*>(w) != nullptr && w->isVisible())
            names << w->objectName();
    }
    return names;
}

// Clicks a control of the visible window with a real mouse event.
// Answers the next file dialog: picks `file`, or cancels when it is empty.
void answerDialog(const QString& file)
{
    QTimer::singleShot(0, [file] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return answerDialog(file);
        if (file.isEmpty())
            return dialog->reject();
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept();
    });
}

void press(Replay& replay, const std::string& control)
{
    ScreenWindow* window = replay.view().visibleWindow();
    QVERIFY(window != nullptr);
    QWidget* widget = window->controlWidget(control);
    QVERIFY(widget != nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

} // namespace

class WidgetsTest : public quillory::ViewTest {
    Q_OBJECT

private slots:

    void navigationShowsOneWindowAtATime()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        QCOMPARE(visibleWindows(), QStringList{"Form1"});
        press(replay, "C1");
        QCOMPARE(visibleWindows(), QStringList{"Form20"});
        QCOMPARE(QString::fromStdString(std::filesystem::current_path().string()),
                 QString(QUILLORY_BUILD_DIR));

        // Every menu entry and its way back.
        const std::pair<const char*, const char*> entries[] = {
            {"Command1", "Form2"}, {"C7", "Form18"}, {"C17", "Form17"}, {"C8", "Form8"}};
        for (const auto& [button, screen] : entries) {
            press(replay, button);
            QCOMPARE(visibleWindows(), QStringList{screen});
            ScreenWindow* window = replay.view().visibleWindow();
            const char* back = QString(screen) == "Form2"    ? "Command1"
                               : QString(screen) == "Form18" ? "Command7"
                                                             : "Command3";
            QVERIFY(window->controlWidget(back) != nullptr);
            press(replay, back);
            QCOMPARE(visibleWindows(), QStringList{"Form20"});
        }

        // The end button closes every window and ends the program.
        QSignalSpy ended(&replay.view(), &quillory::AppView::programEnded);
        press(replay, "C18");
        QCOMPARE(ended.count(), 1);
        QVERIFY(visibleWindows().isEmpty());
        QCOMPARE(run(replay, "dump")["ended"].toBool(), true);
    }

    void lessonBackResetsTheWidgets()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        run(replay, "click C1");
        QJsonObject state = run(replay, "click C2");
        QCOMPARE(state["screen"].toString(), QString("Form3"));
        const QString greeting = controlOf(state, "T1")["text"].toString();
        QVERIFY(!greeting.isEmpty());

        ScreenWindow* lesson = replay.view().visibleWindow();
        auto* text = qobject_cast<QPlainTextEdit*>(lesson->controlWidget("T1"));
        QVERIFY(text != nullptr);
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->font().family(), QString("Noto Sans CJK JP"));

        run(replay, "click Command1");
        run(replay, "click Command2");

        // Back: the title screen, and a lesson that starts from its greeting again.
        press(replay, "Command3");
        QCOMPARE(visibleWindows(), QStringList{"Form1"});
        QCOMPARE(text->toPlainText(), greeting);
        for (int k = 4; k <= 6; ++k)
            QVERIFY(lesson->controlWidget("Command" + std::to_string(k))->isHidden());
        run(replay, "click C1");
        state = run(replay, "click C2");
        QCOMPARE(state["step"].toInt(), 0);
        QCOMPARE(state["created"].toArray().size(), 3);
        QCOMPARE(controlOf(state, "Picture1")["file"].toString(), QString("gal1.bmp"));
        QCOMPARE(controlOf(state, "Picture1")["loaded"].toBool(), true);
    }

    void closeBoxEndsTheProgram()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        run(replay, "click C1");
        QSignalSpy ended(&replay.view(), &quillory::AppView::programEnded);
        replay.view().visibleWindow()->close();
        QCOMPARE(ended.count(), 1);
        QVERIFY(visibleWindows().isEmpty());
        QCOMPARE(run(replay, "click C2")["error"].isString(), true);
        QCOMPARE(run(replay, "restart")["screen"].toString(), QString("Form1"));
    }

    void missingAndBrokenPicturesLeaveAFrame()
    {
        // A program folder without the teacher's picture, then with a broken one.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        Replay replay(folder.path().toStdString());
        run(replay, "click C1");
        const QRegularExpression warning("^quillory: cannot show picture .*gal1\\.bmp: ");
        QTest::failOnWarning(QRegularExpression("cannot show picture"));
        QTest::ignoreMessage(QtWarningMsg, warning);
        QJsonObject picture = controlOf(run(replay, "click C2"), "Picture1");
        QCOMPARE(picture["file"].toString(), QString("gal1.bmp"));
        QCOMPARE(picture["loaded"].toBool(), false);

        QFile broken(folder.filePath("gal1.bmp"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("BM not really a bitmap");
        broken.close();
        // Back puts the first picture back: one warning, and none on the way in again.
        QTest::ignoreMessage(QtWarningMsg, warning);
        run(replay, "click Command3");
        run(replay, "click C1");
        picture = controlOf(run(replay, "click C2"), "Picture1");
        QCOMPARE(picture["loaded"].toBool(), false);

        // The frame still draws, with the file's name.
        auto* box = qobject_cast<quillory::PictureBox*>(
            replay.view().visibleWindow()->controlWidget("Picture1"));
        QVERIFY(box != nullptr);
        const QImage shot = box->grab().toImage();
        QVERIFY(!shot.isNull());
        QCOMPARE(box->file(), QString("gal1.bmp"));
    }

    void picturesScaleToTheBox()
    {
        quillory::PictureBox box;
        box.resize(209, 153);
        std::filesystem::current_path(QUILLORY_BUILD_DIR);
        box.load("gal2.bmp");
        QVERIFY(box.loaded());
        const QImage shot = box.grab().toImage();
        // The middle of the box shows the picture, not the empty frame colour.
        QVERIFY(shot.pixelColor(104, 76) != QColor(240, 240, 240));
    }

    void fileDialogsWriteAndReadWhatTheLearnerPicks()
    {
        QTemporaryDir dir;
        QWidget parent;
        quillory::FileDialogs dialogs(&parent);
        using quillory::FileOutcome;
        const QString file = dir.filePath("record.txt");
        std::optional<FileOutcome> saved;
        answerDialog(file);
        dialogs.save("quillory-record-2026-12-08.txt", "quillory-record 1\nend\t0\n",
                     [&](FileOutcome outcome) { saved = outcome; });
        QCOMPARE(saved, FileOutcome::Done);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("quillory-record 1\nend\t0\n"));

        // Read back; cut one byte past the limit; cancelled.
        std::optional<FileOutcome> opened;
        std::string contents;
        auto keep = [&](FileOutcome outcome, std::string text) {
            opened = outcome;
            contents = std::move(text);
        };
        for (const std::size_t limit : {std::size_t{1000}, std::size_t{5}}) {
            answerDialog(file);
            dialogs.open(limit, keep);
            QCOMPARE(opened, FileOutcome::Done);
            QCOMPARE(contents, std::string("quillory-record 1\nend\t0\n").substr(0, limit + 1));
        }
        answerDialog({});
        dialogs.open(1000, keep);
        QCOMPARE(opened, FileOutcome::Cancelled);
        answerDialog({});
        dialogs.save("x.txt", "x", [&](FileOutcome outcome) { saved = outcome; });
        QCOMPARE(saved, FileOutcome::Cancelled);
    }

    void textAndCaptionsRoundTrip()
    {
        QCOMPARE(
            QString::fromStdString(quillory::modelText(quillory::widgetText("\r\nA\r\n\r\nB"))),
            QString("\r\nA\r\n\r\nB"));
        QCOMPARE(quillory::buttonCaption("R&D"), QString("R&&D"));
        QCOMPARE(QString::fromStdString(quillory::modelCaption("R&&D")), QString("R&D"));
    }
};

QTEST_MAIN(WidgetsTest)
#include "view_widgets_test.moc"
