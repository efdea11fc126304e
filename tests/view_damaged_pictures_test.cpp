// Every picture missing, empty, truncated, corrupt, claiming a huge size, or a
// folder: the box keeps an empty frame with the file's name, one warning each, and
// the program goes on.
#include "app/picture_assets.h"
#include "tests/view_fixture.h"
#include "tools/replay.h"
#include "ui/qt/picture_box.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

QByteArray builtPicture(const std::string& name)
{
    QFile file(QString::fromStdString((fs::path(QUILLORY_BUILD_DIR) / name).string()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void write(const fs::path& path, const QByteArray& bytes)
{
    QFile file(QString::fromStdString(path.string()));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

struct Damage {
    const char* what;
    // Puts the damaged picture at path, given the sound picture's bytes.
    std::function<void(const fs::path&, const QByteArray&)> make;
};

const std::vector<Damage>& damages()
{
    static const std::vector<Damage> kDamages{
        {"missing", [](const fs::path&, const QByteArray&) {}},
        {"empty", [](const fs::path& p, const QByteArray&) { write(p, {}); }},
        {"truncated", [](const fs::path& p, const QByteArray& b) { write(p, b.left(40)); }},
        {"corrupt",
         [](const fs::path& p, const QByteArray& b) {
             QByteArray bad = b;
             for (qsizetype i = 2; i < std::min<qsizetype>(bad.size(), 64); ++i)
                 bad[i] = static_cast<char>(0xA5 ^ i);
             write(p, bad);
         }},
        {"huge",
         [](const fs::path& p, const QByteArray& b) {
             // Width and height of the info header: 1,000,000 x 1,000,000 pixels.
             QByteArray bad = b.left(54);
             const qint32 side = 1000000;
             if (bad.size() >= 26) {
                 std::memcpy(bad.data() + 18, &side, sizeof side);
                 std::memcpy(bad.data() + 22, &side, sizeof side);
             }
             write(p, bad);
         }},
        {"folder", [](const fs::path& p, const QByteArray&) { fs::create_directory(p); }},
    };
    return kDamages;
}

} // namespace

class DamagedPicturesTest : public quillory::ViewTest {
    Q_OBJECT

private slots:

    void everyPictureEveryDamageLeavesANamedFrame()
    {
        QCOMPARE(quillory::pictureAssets().size(), std::size_t{49});
        QTest::failOnWarning(QRegularExpression("."));
        for (const Damage& damage : damages()) {
            QTemporaryDir folder;
            QVERIFY(folder.isValid());
            fs::current_path(folder.path().toStdString());
            for (const std::string& name : quillory::pictureAssets()) {
                const QByteArray sound = builtPicture(name);
                QVERIFY2(!sound.isEmpty(), name.c_str());
                damage.make(fs::path(name), sound);

                quillory::PictureBox box;
                box.resize(209, 153);
                const QString file = QString::fromStdString(name);
                QTest::ignoreMessage(QtWarningMsg,
                                     QRegularExpression("^quillory: cannot show picture .*" +
                                                        QRegularExpression::escape(file) + ": "));
                box.load(file);
                const std::string where = name + " " + damage.what;
                QVERIFY2(!box.loaded(), where.c_str());
                QCOMPARE(box.file(), file);
                // The frame draws its grey field with the name, and no picture.
                const QImage shot = box.grab().toImage();
                QVERIFY2(!shot.isNull(), where.c_str());
                QCOMPARE(shot.pixelColor(5, 5), QColor(240, 240, 240));
            }
        }
    }

    void theProgramGoesOnWithEveryPictureDamaged()
    {
        QTest::failOnWarning(QRegularExpression("."));
        for (const Damage& damage : damages()) {
            QTemporaryDir folder;
            QVERIFY(folder.isValid());
            for (const std::string& name : quillory::pictureAssets())
                damage.make(fs::path(folder.path().toStdString()) / name, builtPicture(name));

            quillory::Replay replay(folder.path().toStdString());
            replay.execute("click C1");
            // Every lesson opened from the menu shows its teacher's frame and takes
            // its first click.
            const char* const menu[] = {"C2",  "C3",  "C4",  "C5",  "C6",  "C8",  "C9",
                                        "C10", "C11", "C12", "C13", "C14", "C15", "C16"};
            for (const char* entry : menu) {
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot show picture"));
                const std::string opened = *replay.execute(std::string("click ") + entry);
                QVERIFY2(opened.find("\"loaded\": false") != std::string::npos, entry);
                QVERIFY(replay.execute("click Command1")->find("\"ended\": false") !=
                        std::string::npos);
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot show picture"));
                const std::string back = *replay.execute("click Command3");
                QVERIFY2(back.find("\"error\"") == std::string::npos, back.c_str());
                if (back.find("\"screen\": \"Form1\"") != std::string::npos)
                    replay.execute("click C1");
            }
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot show picture"));
            const std::string game = *replay.execute("click C17");
            QVERIFY(game.find("\"screen\": \"Form17\"") != std::string::npos);
            QVERIFY(replay.execute("click Command1")->find("\"step\": 1") != std::string::npos);
        }
    }
};

QTEST_MAIN(DamagedPicturesTest)
#include "view_damaged_pictures_test.moc"
