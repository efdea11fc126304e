// Zoom, keys and the screen reader's view, on the real widgets of every screen kind.
#include "app/picture_assets.h"
#include "tests/view_fixture.h"
#include "tools/replay.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/fonts.h"
#include "ui/qt/picture_descriptions.h"
#include "ui/qt/scale_policy.h"
#include "ui/qt/text_box.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTest>

#include <filesystem>

using namespace quillory;

namespace {

QJsonObject run(Replay& replay, const std::string& command)
{
    const auto out = replay.execute(command);
    return out ? QJsonDocument::fromJson(QByteArray::fromStdString(*out)).object() : QJsonObject{};
}

QJsonObject controlOf(const QJsonObject& state, const QString& name)
{
    for (const QJsonValue& c : state["controls"].toArray()) {
        if (c["name"].toString() == name)
            return c.toObject();
    }
    return {};
}

// One screen of each kind, with the clicks that lead to it from the menu and back.
struct Kind {
    const char* screen;
    const char* open;
    const char* back;
};
const Kind kKinds[] = {
    {"Form2", "Command1", "Command1"}, {"Form3", "C2", "Command3"},  {"Form8", "C8", "Command3"},
    {"Form17", "C17", "Command3"},     {"Form18", "C7", "Command7"},
};

QAccessibleInterface* face(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

} // namespace

class InputTest : public ViewTest {
    Q_OBJECT

private:
    // Checks the visible window at scale 2 against its design in twips.
    static void checkScaled(Replay& replay)
    {
        ScreenWindow* window = replay.view().visibleWindow();
        const Screen& screen = window->model();
        QCOMPARE(window->size(),
                 QSize(screen.width() * 2 / kTwipsPerPixel, screen.height() * 2 / kTwipsPerPixel));
        for (const Control& control : screen.controls()) {
            QWidget* widget = window->controlWidget(control.name);
            const QRect at = widget->geometry();
            QCOMPARE(at, QRect(control.rect.left * 2 / kTwipsPerPixel,
                               control.rect.top * 2 / kTwipsPerPixel,
                               control.rect.width * 2 / kTwipsPerPixel,
                               control.rect.height * 2 / kTwipsPerPixel));
            const int pixels = widget->font().pixelSize();
            if (control.kind == ControlKind::Button) {
                // Captions may be set smaller, so that every caption fits its button.
                QVERIFY2(pixels > kTextPixels * 2 * 0.85 && pixels <= kTextPixels * 2,
                         control.name.c_str());
                QFontMetrics metrics(widget->font());
                const QString drawn =
                    QString(static_cast<QPushButton*>(widget)->text()).replace(' ', QChar(0x2002));
                QVERIFY2(metrics.horizontalAdvance(drawn) <= at.width(), control.name.c_str());
            } else if (control.role == "説明") {
                QCOMPARE(pixels, static_cast<int>(TextBox::kDenseTextPixels * 2)); // denser
            } else {
                QCOMPARE(pixels, kTextPixels * 2);
            }
        }
        // The driver still reports the design's twips.
        const QJsonObject state =
            QJsonDocument::fromJson(QByteArray::fromStdString(replay.state())).object();
        QCOMPARE(state["width"].toInt(), screen.width());
        for (const Control& control : screen.controls()) {
            const QJsonObject c = controlOf(state, QString::fromStdString(control.name));
            QCOMPARE(c["left"].toInt(), control.rect.left);
            QCOMPARE(c["height"].toInt(), control.rect.height);
        }
    }

private slots:
    void initTestCase() { applyLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void zoomScalesEveryScreenKind()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        AppView& view = replay.view();
        QCOMPARE(view.scale(), 1.0);
        view.setScale(2);
        checkScaled(replay);
        run(replay, "click C1");
        checkScaled(replay);
        for (const Kind& kind : kKinds) {
            run(replay, std::string("click ") + kind.open);
            QCOMPARE(view.visibleWindow()->objectName(), QString(kind.screen));
            checkScaled(replay);
            run(replay, std::string("click ") + kind.back);
            if (view.visibleWindow()->objectName() == "Form1")
                run(replay, "click C1");
        }
        // Every window keeps the one factor; the menu's padded captions get one size.
        for (const char* name : {"Form1", "Form20", "Form3", "Form17", "Form18"})
            QCOMPARE(view.window(name)->scale(), 2.0);
        ScreenWindow* menu = view.window("Form20");
        const int captionPixels = menu->controlWidget("C2")->font().pixelSize();
        for (int k = 3; k <= 18; ++k)
            QCOMPARE(menu->controlWidget("C" + std::to_string(k))->font().pixelSize(),
                     captionPixels);

        // Keys: Ctrl+0 goes back to the run's default (the driver's is 1), Ctrl+- never
        // below 1, Ctrl++ one step up.
        ScreenWindow* shown = view.visibleWindow();
        QTest::keyClick(shown, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(view.scale(), 1.0);
        view.setScale(1.5);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(shown, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(view.scale(), 1.0);
        QCOMPARE(shown->width(), shown->model().width() / kTwipsPerPixel);
        QTest::keyClick(shown->controlWidget("C2"), Qt::Key_Plus,
                        Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(view.scale(), 1.0 + kScaleStep);
        QCOMPARE(view.window("Form3")->scale(), view.scale());
        QVERIFY(defaultScale() >= 1 && defaultScale() <= largestScale());
    }

    void keysPressTheirButtons()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        // Title: only Return starts.
        QCOMPARE(run(replay, "key 1")["screen"].toString(), QString("Form1"));
        QCOMPARE(run(replay, "key Escape")["screen"].toString(), QString("Form1"));
        QCOMPARE(run(replay, "key Return")["screen"].toString(), QString("Form20"));
        // The menu has no keys.
        for (const char* key : {"key Return", "key Escape", "key 1", "key 5"})
            QCOMPARE(run(replay, key)["screen"].toString(), QString("Form20"));
        QCOMPARE(run(replay, "key Nothing")["error"].toString().isEmpty(), false);

        // A lesson: Return is Talk at even steps and Teacher at odd ones.
        run(replay, "click C2");
        QJsonObject state = run(replay, "key 1"); // hidden answer button: nothing
        QCOMPARE(state["step"].toInt(), 0);
        QCOMPARE(run(replay, "key Return")["step"].toInt(), 1);
        QCOMPARE(run(replay, "key Return")["step"].toInt(), 2);
        state = run(replay, "key Return");
        QCOMPARE(state["step"].toInt(), 3);
        QCOMPARE(controlOf(state, "Command6")["visible"].toBool(), true);
        // Teacher has no row while a question waits; Form3 has no fourth answer.
        QCOMPARE(run(replay, "key Return")["step"].toInt(), 3);
        QCOMPARE(run(replay, "key 4")["step"].toInt(), 3);
        QCOMPARE(run(replay, "key R")["step"].toInt(), 3);
        // Keypad 3 with the focus in the text box: answer 3, exactly as its click.
        ScreenWindow* lesson = replay.view().visibleWindow();
        QWidget* box = lesson->controlWidget("T1");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_3, Qt::KeypadModifier);
        state = QJsonDocument::fromJson(QByteArray::fromStdString(replay.state())).object();
        QCOMPARE(state["step"].toInt(), 4);
        QCOMPARE(controlOf(state, "T1")["text"].toString(),
                 QString("２３歳。しかも独身よ。うふ。答えは This is a pen. ね。"));
        // Keys with Ctrl or Alt are not answers.
        QTest::keyClick(lesson, Qt::Key_1, Qt::AltModifier);
        QCOMPARE(lesson->model().step(), std::optional<int>(4));
        // Tooltips name the keys.
        QVERIFY(lesson->controlWidget("Command4")->toolTip().contains("1"));
        QVERIFY(lesson->controlWidget("Command2")->toolTip().contains("Enter"));
        QVERIFY(lesson->controlWidget("Command3")->toolTip().contains("Esc"));
        QVERIFY(!replay.view().window("Form20")->controlWidget("C2")->toolTip().contains("キー"));
        // Escape is the way back.
        state = run(replay, "key Escape");
        QCOMPARE(state["screen"].toString(), QString("Form1"));
        QCOMPARE(lesson->model().step(), std::optional<int>(0));

        // The quiz: digits are the five patterns, Escape the way back.
        run(replay, "key Return");
        run(replay, "click C7");
        QCOMPARE(run(replay, "key 3")["step"].toInt(), 2);
        state = run(replay, "key 5");
        QCOMPARE(state["step"].toInt(), 22);
        // Return is the retry, once it would act.
        QCOMPARE(run(replay, "key Return")["step"].toInt(), 1);
        QCOMPARE(run(replay, "key Return")["step"].toInt(), 1);
        QCOMPARE(run(replay, "key Escape")["screen"].toString(), QString("Form20"));

        // The game: Return is Talk, then Partner; no fifth answer; Escape the way back.
        run(replay, "click C17");
        QCOMPARE(run(replay, "key Return")["step"].toInt(), 1);
        QCOMPARE(run(replay, "key Return")["step"].toInt(), 2);
        QCOMPARE(run(replay, "key 5")["step"].toInt(), 2);
        QCOMPARE(run(replay, "key 1")["step"].toInt(), 2); // answer buttons hidden
        QCOMPARE(run(replay, "key Escape")["screen"].toString(), QString("Form20"));

        // The explanation: Escape.
        run(replay, "click Command1");
        QCOMPARE(run(replay, "key Return")["screen"].toString(), QString("Form2"));
        QCOMPARE(run(replay, "key Escape")["screen"].toString(), QString("Form20"));

        // After the end, keys have no screen to go to.
        run(replay, "click C18");
        QCOMPARE(run(replay, "key Return")["error"].toString().isEmpty(), false);
    }

    void aScreenReaderFindsEveryControl()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        run(replay, "click C1");
        for (const Kind& kind : kKinds) {
            run(replay, std::string("click ") + kind.open);
            ScreenWindow* window = replay.view().visibleWindow();
            QAccessibleInterface* windowFace = face(window);
            QCOMPARE(windowFace->role(), QAccessible::Window);
            QCOMPARE(windowFace->text(QAccessible::Name), window->windowTitle().trimmed());
            for (const Control& control : window->model().controls()) {
                QWidget* widget = window->controlWidget(control.name);
                QAccessibleInterface* f = face(widget);
                QVERIFY(f != nullptr);
                const QString name = f->text(QAccessible::Name);
                QVERIFY2(!name.isEmpty() && name == name.trimmed(), control.name.c_str());
                switch (control.kind) {
                case ControlKind::Button:
                    QCOMPARE(f->role(), QAccessible::Button);
                    QVERIFY(!name.contains("　") && !name.contains("  "));
                    break;
                case ControlKind::Text:
                    QCOMPARE(f->role(), QAccessible::EditableText);
                    QCOMPARE(f->state().readOnly, true);
                    QCOMPARE(f->textInterface()->text(0, f->textInterface()->characterCount()),
                             qobject_cast<TextBox*>(widget)->toPlainText());
                    break;
                case ControlKind::Label:
                    QCOMPARE(f->role(), QAccessible::StaticText);
                    break;
                case ControlKind::Picture:
                    QCOMPARE(f->role(), QAccessible::Graphic);
                    QVERIFY(!f->text(QAccessible::Description).isEmpty());
                    break;
                }
            }
            run(replay, std::string("click ") + kind.back);
            if (replay.view().visibleWindow()->objectName() == "Form1")
                run(replay, "click C1");
        }
        ScreenWindow* lesson = replay.view().window("Form3");
        QCOMPARE(accessibleNameOf(lesson->controlWidget("T1")), QString("会話"));
        QCOMPARE(accessibleNameOf(lesson->controlWidget("Command3")), QString("終了"));
        QCOMPARE(accessibleNameOf(lesson->controlWidget("Picture1")), QString("森岡　ハナ先生"));
        QCOMPARE(accessibleNameOf(replay.view().window("Form2")->controlWidget("Text1")),
                 QString("説明"));
        ScreenWindow* quiz = replay.view().window("Form18");
        QCOMPARE(accessibleNameOf(quiz->controlWidget("T1")), QString("問題"));
        QCOMPARE(accessibleNameOf(quiz->controlWidget("Command6")), QString("再挑戦"));
        QCOMPARE(accessibleNameOf(quiz->controlWidget("Label2")), QString("S V （第１文型）"));
        ScreenWindow* menu = replay.view().window("Form20");
        QCOMPARE(accessibleNameOf(menu->controlWidget("C8")), QString("＜６＞形容詞句"));
        QCOMPARE(accessibleNameOf(menu->controlWidget("C13")), QString("＜１１＞副詞句"));
        QCOMPARE(accessibleNameOf(menu->controlWidget("C2")), QString("＜１＞５文型 Part 1"));
        QCOMPARE(accessibleNameOf(menu->controlWidget("Label1")), QString("Quillory"));
        QCOMPARE(face(replay.view().window("Form1"))->text(QAccessible::Name), QString("Quillory"));

        // Every picture the program ships says what it shows.
        for (const std::string& file : pictureAssets()) {
            const PictureText text = pictureText(QString::fromStdString(file));
            QVERIFY2(!text.description.contains(QString::fromStdString(file)), file.c_str());
        }
    }

    void theDriverReadsFitAndNames()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        QJsonObject state = run(replay, "key Return");
        for (const QJsonValue& c : state["controls"].toArray()) {
            QVERIFY(c["accessibleName"].isString());
            QCOMPARE(c["accessibleDescription"].isString(), c["kind"].toString() == "picture");
            QCOMPARE(c["fits"].isBool(), c["kind"].toString() == "text");
        }
        state = run(replay, "click C2");
        for (int i = 0; i < 40 && state["step"].toInt() < 15; ++i)
            state = run(replay, controlOf(state, "Command4")["visible"].toBool() &&
                                        state["step"].toInt() % 2 == 1
                                    ? "key 1"
                                    : "key Return");
        // Form3 step 15: the question of step 14 with its three choices, whole.
        QCOMPARE(state["step"].toInt(), 15);
        QCOMPARE(controlOf(state, "T1")["fits"].toBool(), true);
        QCOMPARE(controlOf(state, "Command6")["visible"].toBool(), true);
        QCOMPARE(controlOf(state, "Picture1")["accessibleDescription"].toString(),
                 pictureText("gal1.bmp").description);
    }
};

QTEST_MAIN(InputTest)
#include "view_input_test.moc"
