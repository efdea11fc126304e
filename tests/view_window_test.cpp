// The one main window: screens swap in place, the close box per screen, the key
// strip, the enlarged picture, full screen and the fit.
#include "tests/view_fixture.h"
#include "tools/replay.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/picture_view.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>

using quillory::MainWindow;
using quillory::Replay;
using quillory::ScreenWindow;

namespace {

QJsonObject run(Replay& replay, const std::string& command)
{
    const auto out = replay.execute(command);
    return out ? QJsonDocument::fromJson(QByteArray::fromStdString(*out)).object() : QJsonObject();
}

QList<QWidget*> shownTopLevels()
{
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            shown << w;
    }
    return shown;
}

// From the title to a screen by the menu's button (none: stay on the menu).
void open(Replay& replay, const char* menuButton)
{
    run(replay, "click C1");
    if (menuButton != nullptr)
        run(replay, std::string("click ") + menuButton);
}

} // namespace

class WindowTest : public quillory::ViewTest {
    Q_OBJECT

private slots:
    void closeBoxDoesTheScreensWayBack()
    {
        // Where each screen's close box leads is where its way-back button leads.
        struct Case {
            const char* menuButton;
            const char* screen;
            const char* back; // nullptr: the program ends
        };
        const Case cases[] = {{nullptr, "Form20", nullptr},
                              {"Command1", "Form2", "Command1"},
                              {"C2", "Form3", "Command3"},
                              {"C7", "Form18", "Command7"},
                              {"C17", "Form17", "Command3"}};
        for (const Case& c : cases) {
            Replay closed(QUILLORY_BUILD_DIR);
            open(closed, c.menuButton);
            QCOMPARE(closed.view().visibleWindow()->objectName(), QString(c.screen));
            closed.view().mainWindow()->close();
            const QJsonObject after = run(closed, "dump");
            if (c.back == nullptr) {
                QVERIFY2(after["ended"].toBool(), c.screen);
                QVERIFY(shownTopLevels().isEmpty());
                continue;
            }
            Replay clicked(QUILLORY_BUILD_DIR);
            open(clicked, c.menuButton);
            QCOMPARE(after, run(clicked, std::string("click ") + c.back));
            QVERIFY2(!after["ended"].toBool(), c.screen);
        }
        // The title ends the program too.
        Replay title(QUILLORY_BUILD_DIR);
        title.view().mainWindow()->close();
        QVERIFY(run(title, "dump")["ended"].toBool());
    }

    void oneWindowAcrossScreenSwitches()
    {
        Replay replay(QUILLORY_BUILD_DIR, 1.5);
        MainWindow* main = replay.view().mainWindow();
        const QPoint place = main->pos();
        for (const char* command : {"dump", "click C1", "click C2", "click Command3", "click C1",
                                    "click C7", "click Command7", "click C17"}) {
            const QJsonObject state = run(replay, command);
            QCOMPARE(shownTopLevels(), QList<QWidget*>{main});
            ScreenWindow* screen = replay.view().visibleWindow();
            QCOMPARE(screen->parentWidget(), main->stage());
            QCOMPARE(main->windowTitle(), state["caption"].toString());
            QCOMPARE(main->pos(), place);
            // Headless, the window takes the screen's size at the zoom, strip included.
            QCOMPARE(main->stage()->size(),
                     MainWindow::areaFor(screen->model().width(), screen->model().height(), 1.5));
            QCOMPARE(screen->scale(), 1.5);
        }
    }

    void keyStripIsBelowTheScreenAndNotInTheState()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        QLabel* strip = replay.view().mainWindow()->keyStrip();
        const auto check = [&](const QJsonObject& state, bool answers) {
            ScreenWindow* screen = replay.view().visibleWindow();
            QVERIFY(strip->isVisible());
            QCOMPARE(strip->parentWidget(), replay.view().mainWindow()->stage());
            QCOMPARE(strip->geometry().top(), screen->geometry().bottom() + 1);
            QCOMPARE(strip->width(), screen->width());
            QCOMPARE(strip->text().contains(QStringLiteral("１～５：答える")), answers);
            QVERIFY(strip->text().contains(QStringLiteral("Ctrl＋／－：拡大")));
            QCOMPARE(state["controls"].toArray().size(),
                     static_cast<qsizetype>(screen->model().controls().size()));
            QVERIFY(!QJsonDocument(state).toJson().contains("keyStrip"));
            QVERIFY(!QJsonDocument(state).toJson().contains("Enter："));
        };
        check(run(replay, "dump"), false);
        check(run(replay, "click C1"), false);
        const QJsonObject lesson = run(replay, "click C2");
        check(lesson, true);
        QVERIFY(strip->text().startsWith(
            QStringLiteral("Enter：次へ　１～５：答える　▼：続き　H：履歴　R：読み上げ")));
    }

    void pictureEnlargesWithoutChangingTheState()
    {
        Replay replay(QUILLORY_BUILD_DIR);
        run(replay, "click C1");
        const QJsonObject before = run(replay, "click C2");
        auto* picture = qobject_cast<quillory::PictureBox*>(
            replay.view().visibleWindow()->controlWidget("Picture1"));
        QVERIFY(picture != nullptr && picture->loaded());
        quillory::PictureView* view = replay.view().mainWindow()->pictureView();

        // The driver's click and a real one: enlarged, the state unchanged.
        QCOMPARE(run(replay, "click Picture1"), before);
        QVERIFY(view->isOpen());
        QCOMPARE(view->geometry(), replay.view().mainWindow()->stage()->rect());
        const QJsonArray controls = before["controls"].toArray();
        for (const QJsonValue& c : controls) {
            if (c["name"].toString() == "Picture1")
                QCOMPARE(view->description(), c["accessibleDescription"].toString());
        }
        QVERIFY(!view->description().isEmpty());
        QTest::keyClick(view, Qt::Key_Return); // the screen's keys rest
        QVERIFY(view->isOpen());
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!view->isOpen());
        QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, picture->rect().center());
        QVERIFY(view->isOpen());
        QTest::mouseClick(view, Qt::LeftButton);
        QVERIFY(!view->isOpen());
        QCOMPARE(run(replay, "dump"), before);
        // A click that changes the screen closes it too.
        run(replay, "click Picture1");
        run(replay, "click Command3");
        QVERIFY(!view->isOpen());
    }

    void fullScreenAndFitOnResize()
    {
        // As a person meets it: the screen fitted to the window, centred.
        Replay replay(QUILLORY_BUILD_DIR, 1, false);
        MainWindow* main = replay.view().mainWindow();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        run(replay, "click C1");
        run(replay, "click C2");
        ScreenWindow* screen = replay.view().visibleWindow();

        main->resize(1200, 1000);
        QTRY_COMPARE(main->stage()->size(), QSize(1200, 1000));
        const qreal fit = std::floor(1200.0 * quillory::kTwipsPerPixel / 7155 * 100) / 100;
        QCOMPARE(screen->scale(), fit);
        QCOMPARE(replay.view().scale(), fit); // the zoom steps on from here
        const QRect drawn = screen->geometry();
        // Centred: screen and strip as one block, to a pixel or two of rounding.
        QVERIFY(qAbs(drawn.top() - (1000 - 1 - main->keyStrip()->geometry().bottom())) <= 2);
        QVERIFY(drawn.left() >= 0 && drawn.right() < 1200);

        // Ctrl+- : the window takes the zoomed size, and the screen that scale.
        QTest::keyClick(screen, Qt::Key_Minus, Qt::ControlModifier);
        const qreal zoom = replay.view().scale();
        QVERIFY(zoom < fit);
        QCOMPARE(screen->scale(), zoom);
        QTRY_COMPARE(main->stage()->size(), MainWindow::areaFor(7155, 4380, zoom));

        // F11 in and out.
        QTest::keyClick(screen, Qt::Key_F11);
        QTRY_VERIFY(main->isFullScreen());
        QTest::keyClick(screen, Qt::Key_F11);
        QTRY_VERIFY(!main->isFullScreen());
        QCOMPARE(replay.view().visibleWindow(), screen);
    }
};

QTEST_MAIN(WindowTest)
#include "view_window_test.moc"
