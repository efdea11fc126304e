// The learner's record as the replay driver shows it, across driver processes
// that share one record file: progress on the menu, the review and its
// schedule, the record written out and read back, a damaged file set aside
// with a notice.
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One driver process: each command's state line.
QList<QJsonObject> drive(const QStringList& arguments, const QByteArray& commands)
{
    QProcess driver;
    driver.start(QUILLORY_REPLAY, arguments);
    QList<QJsonObject> states;
    if (!driver.waitForStarted())
        return states;
    driver.write(commands);
    driver.closeWriteChannel();
    driver.waitForFinished(30000);
    for (const QByteArray& line : driver.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            states << QJsonDocument::fromJson(line).object();
    }
    return states;
}

QJsonObject control(const QJsonObject& state, const QString& name)
{
    for (const QJsonValue& c : state["controls"].toArray()) {
        if (c["name"] == name)
            return c.toObject();
    }
    return {};
}

} // namespace

class RecordTest : public QObject {
    Q_OBJECT
private slots:
    void aMissIsKeptReviewedAndScheduledAcrossRuns()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("record.sqlite");
        const QStringList on8{"--record", file, "--today", "2026-12-08"};

        // Form3's first question, answered wrong (the right one is 1).
        QList<QJsonObject> s = drive(on8, "click C1\nclick C2\nkey Return\nkey Return\nkey Return\n"
                                          "key 2\nkey Escape\nkey Return\n");
        QCOMPARE(s.size(), 8);
        QCOMPARE(s.last()["screen"].toString(), QString("Form20"));

        // A new process finds it on the menu, and the review asks it again.
        s = drive(on8, "click C1\nclick Review\nkey 1\nkey Return\nkey Escape\n");
        const QJsonObject progress = control(s[0], "C2")["progress"].toObject();
        QCOMPARE(progress["reached"].toInt(), 4);
        QCOMPARE(progress["last"].toInt(), 26);
        QCOMPARE(progress["finished"].toBool(), false);
        QCOMPARE(progress["firstTryAsked"].toInt(), 1);
        QCOMPARE(progress["firstTryRight"].toInt(), 0);
        QCOMPARE(control(s[0], "Review")["due"].toInt(), 1);
        QCOMPARE(control(s[0], "Review")["caption"].toString(), QString("復習（1）"));
        QVERIFY(control(s[0], "Review")["addition"].toBool());
        QCOMPARE(s[1]["screen"].toString(), QString("Review"));
        QVERIFY(control(s[1], "T1")["text"].toString().contains("1  This is a pen."));
        QCOMPARE(control(s[1], "P1")["file"].toString(), QString("gal1.bmp"));
        // Right in review: the script's own feedback, then nothing more today.
        QCOMPARE(control(s[2], "T1")["text"].toString(), QString("はい、よくできました。"));
        QVERIFY(control(s[3], "T1")["text"].toString().startsWith("今日の復習はありません"));
        QVERIFY(control(s[3], "T1")["text"].toString().contains("2026-12-09"));
        QCOMPARE(control(s[4], "Review")["due"].toInt(), 0);

        // Box 2 is due a day later; wrong there, it is due again at once.
        const QStringList on9{"--record", file, "--today", "2026-12-09"};
        s = drive(on9, "click C1\nclick Review\nkey 3\nkey Return\nclick Back\n");
        QCOMPARE(control(s[0], "Review")["due"].toInt(), 1);
        QVERIFY(control(s[3], "T1")["text"].toString().contains("1  This is a pen."));
        // Still the one question: a review answer is not a question of its own.
        QCOMPARE(control(s[4], "Review")["due"].toInt(), 1);
    }

    void aRecordExportedAndClearedComesBackWhole()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("record.sqlite");
        // A miss on Form3, then on the record screen: written out, cleared, read back.
        const QList<QJsonObject> s =
            drive({"--record", file, "--today", "2026-12-08"},
                  "click C1\nclick C2\nkey Return\nkey Return\nkey Return\nkey 2\nkey Escape\n"
                  "key Return\nclick Review\nclick Record\nclick Export\nclick Clear\nclick Yes\n"
                  "click Import\nclick Back\nkey Escape\n");
        QCOMPARE(s.size(), 16);
        QCOMPARE(s[9]["screen"].toString(), QString("Record"));
        QVERIFY(!control(s[9], "Message")["visible"].toBool());
        QVERIFY(control(s[9], "Message")["addition"].toBool());
        QCOMPARE(control(s[10], "Message")["text"].toString(), QString("記録を書き出しました。"));
        QVERIFY(control(s[10], "Export")["addition"].toBool());
        QCOMPARE(control(s[12], "State1")["text"].toString(), QString("未学習"));
        QCOMPARE(control(s[13], "Message")["text"].toString(), QString("記録を読み込みました。"));
        QCOMPARE(control(s[13], "State1")["text"].toString(), control(s[10], "State1")["text"]);
        QCOMPARE(control(s[13], "Rate1")["text"].toString(), QString("0/1"));
        // The review and the menu find it again.
        QVERIFY(control(s[14], "T1")["text"].toString().contains("1  This is a pen."));
        QCOMPARE(control(s[15], "Review")["due"].toInt(), 1);
        // Both records replaced are kept beside the file.
        QCOMPARE(QDir(dir.path()).entryList({"record.sqlite.cleared-*"}).size(), 1);
        QCOMPARE(QDir(dir.path()).entryList({"record.sqlite.replaced-*"}).size(), 1);
    }

    void aDamagedFileIsSetAsideWithANotice()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("record.sqlite");
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();

        const QList<QJsonObject> s =
            drive({"--record", file}, "click C1\nclick C2\nkey Escape\nkey Return\n");
        const QJsonObject notice = control(s[0], "Notice");
        QVERIFY(notice["visible"].toBool());
        QVERIFY(notice["addition"].toBool());
        QVERIFY(!notice["text"].toString().isEmpty());
        // Until the menu is left.
        QVERIFY(!control(s[3], "Notice")["visible"].toBool());
        const QStringList aside = QDir(dir.path()).entryList({"record.sqlite.damaged-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(dir.filePath(aside[0]));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray(4096, 'x'));
    }
};

QTEST_GUILESS_MAIN(RecordTest)
#include "view_record_test.moc"
