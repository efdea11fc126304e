// The replay driver as another program meets it: commands in, JSON lines out; and
// the screenshot tool's own commands.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

struct Session {
    QList<QJsonObject> lines;
    QByteArray raw;
    int exitCode = -1;
    int badLines = 0;
};

Session drive(const QByteArray& commands, const QProcessEnvironment& env = {},
              const QString& program = QUILLORY_REPLAY)
{
    QProcess driver;
    if (!env.isEmpty())
        driver.setProcessEnvironment(env);
    driver.start(program, {});
    Session session;
    if (!driver.waitForStarted())
        return session;
    driver.write(commands);
    driver.closeWriteChannel();
    driver.waitForFinished(30000);
    session.exitCode = driver.exitStatus() == QProcess::NormalExit ? driver.exitCode() : -2;
    session.raw = driver.readAllStandardOutput();
    for (const QByteArray& line : session.raw.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject() ||
            QString::fromUtf8(line).toUtf8() != line) {
            qWarning("not a JSON object in UTF-8: %s", line.constData());
            ++session.badLines;
        }
        session.lines << doc.object();
    }
    return session;
}

QJsonObject controlOf(const QJsonObject& state, const QString& name)
{
    for (const QJsonValue& c : state["controls"].toArray()) {
        if (c["name"].toString() == name)
            return c.toObject();
    }
    return {};
}

} // namespace

class ReplayTest : public QObject {
    Q_OBJECT

private slots:
    void startsOnTheTitle()
    {
        const Session s = drive("dump\n");
        QCOMPARE(s.exitCode, 0);
        QCOMPARE(s.badLines, 0);
        QCOMPARE(s.lines.size(), 1);
        const QJsonObject state = s.lines[0];
        QCOMPARE(state["ended"].toBool(), false);
        QCOMPARE(state["screen"].toString(), QString("Form1"));
        QCOMPARE(state["width"].toInt(), 7155);
        QCOMPARE(state["height"].toInt(), 2925);
        QCOMPARE(state["background"].toArray(), (QJsonArray{64, 64, 64}));
        QVERIFY(state["step"].isNull());
        QCOMPARE(state["created"].toArray(), QJsonArray{"Form1"});
        const QJsonObject start = controlOf(state, "C1");
        QCOMPARE(start["kind"].toString(), QString("button"));
        QCOMPARE(start["caption"].toString(), QString("スタート"));
        QCOMPARE(start["left"].toInt(), 1560);
        QCOMPARE(start["top"].toInt(), 1920);
        QCOMPARE(start["width"].toInt(), 3855);
        QCOMPARE(start["height"].toInt(), 495);
        QCOMPARE(start["visible"].toBool(), true);
    }

    void walksIntoALessonAndReadsTheWidgets()
    {
        const Session s = drive("# a comment, then a blank line\n\nclick C1\r\nclick C2\n");
        QCOMPARE(s.exitCode, 0);
        QCOMPARE(s.badLines, 0);
        QCOMPARE(s.lines.size(), 2);
        const QJsonObject lesson = s.lines[1];
        QCOMPARE(lesson["screen"].toString(), QString("Form3"));
        QCOMPARE(lesson["step"].toInt(), 0);
        QCOMPARE(lesson["created"].toArray(), (QJsonArray{"Form1", "Form20", "Form3"}));
        const QJsonObject picture = controlOf(lesson, "Picture1");
        QCOMPARE(picture["kind"].toString(), QString("picture"));
        QCOMPARE(picture["file"].toString(), QString("gal1.bmp"));
        QCOMPARE(picture["loaded"].toBool(), true);
        const QJsonObject text = controlOf(lesson, "T1");
        QCOMPARE(text["kind"].toString(), QString("text"));
        QCOMPARE(text["scrollbar"].toBool(), true);
        QCOMPARE(text["left"].toInt(), 360);
        QCOMPARE(text["top"].toInt(), 2400);
        const QJsonObject answer = controlOf(lesson, "Command4");
        QCOMPARE(answer["caption"].toString(), QString("１"));
        QCOMPARE(answer["visible"].toBool(), false);
        // One line per state: no raw line break inside.
        QCOMPARE(s.raw.count('\n'), 2);
    }

    void refusesWhatAPersonCouldNotDo()
    {
        const Session s = drive("click Nothing\n"
                                "click\n"
                                "jump C1\n"
                                "dump please\n"
                                "click C1\n"
                                "click C2\n"
                                "click Command4\n" // hidden answer button
                                "click Command3\n"
                                "click C1\n"
                                "click C18\n" // end
                                "click C1\n"
                                "dump\n"
                                "restart\n");
        QCOMPARE(s.exitCode, 0);
        QCOMPARE(s.badLines, 0);
        QCOMPARE(s.lines.size(), 13);
        for (int i : {0, 1, 2, 3, 6, 10}) {
            QVERIFY2(s.lines[i]["error"].isString(), qPrintable(QString::number(i)));
            QCOMPARE(s.lines[i].size(), 1);
        }
        QCOMPARE(s.lines[5]["screen"].toString(), QString("Form3"));
        QCOMPARE(s.lines[7]["screen"].toString(), QString("Form1"));
        QCOMPARE(s.lines[9], (QJsonObject{{"ended", true}}));
        QCOMPARE(s.lines[11], (QJsonObject{{"ended", true}}));
        QCOMPARE(s.lines[12]["screen"].toString(), QString("Form1"));
        QCOMPARE(s.lines[12]["created"].toArray(), QJsonArray{"Form1"});
    }

    void overridesThePlatformAndSurvivesOddInput()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.remove("DISPLAY");
        QByteArray junk("click \xff\xfe\n\x01\x02\ndump\n");
        junk += QByteArray(100000, 'x') + "\n";
        const Session s = drive(junk + "click C1", env); // no final line break
        QCOMPARE(s.exitCode, 0);
        QCOMPARE(s.badLines, 0);
        QCOMPARE(s.lines.size(), 5);
        QCOMPARE(s.lines[2]["screen"].toString(), QString("Form1"));
        QCOMPARE(s.lines[4]["screen"].toString(), QString("Form20"));
    }

    void shotsAnswersABadWaitWithAnErrorLine()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        const Session s = drive("wait -1\nwait soon\nwait 1e300\nwait nan\nwait\n"
                                "wait 0.01\nclick C1\n",
                                env, QUILLORY_SHOTS);
        QCOMPARE(s.exitCode, 0);
        QCOMPARE(s.badLines, 0);
        QCOMPARE(s.lines.size(), 6);
        for (int i = 0; i < 5; ++i)
            QVERIFY2(s.lines[i]["error"].toString().startsWith("wait needs a number"),
                     qPrintable(QString::number(i)));
        QCOMPARE(s.lines[5]["screen"].toString(), QString("Form20"));
    }
};

QTEST_GUILESS_MAIN(ReplayTest)
#include "view_replay_test.moc"
