// The learner's record moved between machines: written to a record file and
// read back into memory or a SQLite file, files refused without a change, and
// the record screen's export and import through a view that answers later.
#include "app/learning.h"
#include "app/navigator.h"
#include "app/review_screens.h"
#include "app/screens.h"
#include "record/learner_record.h"
#include "record/record_file.h"
#include "record/sqlite_store.h"
#include "ui/file_exchange.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace quillory {
namespace {

namespace fs = std::filesystem;

class RecordExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("quillory-exchange-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = folder / "record.sqlite";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<fs::path> copies() const
    {
        std::vector<fs::path> found;
        for (const auto& e : fs::directory_iterator(folder)) {
            if (e.path().filename().string().starts_with("record.sqlite.replaced-"))
                found.push_back(e.path());
        }
        return found;
    }

    fs::path folder;
    fs::path file;
};

// A little of everything: visits, first tries, a finished screen, reviews in
// several boxes, a screen never entered.
void learn(LearnerRecord& r)
{
    r.entered("Form3", "2026-03-01 09:00:00");
    r.answered("Form3", 4, 2, false, "2026-03-01 09:01:00");
    r.answered("Form3", 4, 1, true, "2026-03-01 09:01:05");
    r.answered("Form3", 8, 3, true, "2026-03-01 09:02:00");
    r.reached("Form3", 26, 26, true);
    r.entered("Form18", "2026-03-02 18:30:00");
    r.answered("Form18", 2, 4, false, "2026-03-02 18:31:00");
    r.reviewed("Form3", 4, true, "2026-03-03");
    r.reviewed("Form3", 4, true, "2026-03-04");
    r.reached("Form17", 5, 300, false);
}

TEST_F(RecordExchange, RoundTripsFromMemoryThroughAFileIntoSqliteAndBack)
{
    LearnerRecord memory(std::make_unique<MemoryStore>());
    learn(memory);
    const std::string text = *memory.exportText();
    EXPECT_TRUE(text.starts_with("quillory-record 1\n"));
    EXPECT_TRUE(text.ends_with("end\t12\n")) << text;

    {
        LearnerRecord disk(std::make_unique<SqliteStore>(file));
        disk.answered("Form5", 6, 1, false, "2026-01-01 08:00:00");
        EXPECT_EQ(disk.importText(text).outcome, RecordImport::Outcome::Imported);
        // In memory at once, as if read from the file.
        EXPECT_EQ(disk.answerCount(), 4);
        EXPECT_EQ(disk.box("Form3", 4), 3);
        EXPECT_FALSE(disk.box("Form5", 6));
        EXPECT_EQ(progressSummary(disk.progress("Form3")), "完了・初回正答 1/2");
        EXPECT_EQ(*disk.exportText(), text);
        // The record it replaced is kept beside, whole.
        ASSERT_EQ(copies().size(), 1u);
        LearnerRecord old(std::make_unique<SqliteStore>(copies()[0]));
        EXPECT_EQ(old.answerCount(), 1);
        EXPECT_EQ(old.box("Form5", 6), 1);
        // Learning goes on after it.
        disk.answered("Form3", 12, 2, true, "2026-03-05 10:00:00");
        disk.reviewed("Form18", 2, true, "2026-03-05");
    }
    LearnerRecord again(std::make_unique<SqliteStore>(file));
    EXPECT_EQ(again.answerCount(), 5);
    EXPECT_EQ(again.box("Form18", 2), 2);
    const std::string later = *again.exportText();

    LearnerRecord back(std::make_unique<MemoryStore>());
    EXPECT_EQ(back.importText(later).outcome, RecordImport::Outcome::Imported);
    EXPECT_EQ(*back.exportText(), later);
    EXPECT_EQ(back.store().readAll(), again.store().readAll());
    // The review order survives: one scheduled now goes after those before it.
    back.answered("Form5", 2, 2, false, "2026-03-06 11:00:00");
    ASSERT_EQ(back.due("2026-03-06").size(), 2u);
    EXPECT_EQ(back.due("2026-03-06").back().screen, "Form5");

    // Line ends from another system, and an editor's byte order mark.
    std::string crlf = "\xEF\xBB\xBF";
    for (char c : later)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    LearnerRecord windows(std::make_unique<MemoryStore>());
    EXPECT_EQ(windows.importText(crlf).outcome, RecordImport::Outcome::Imported);
    EXPECT_EQ(*windows.exportText(), later);
}

TEST_F(RecordExchange, RefusesWhatIsNoRecordAndChangesNothing)
{
    using Outcome = RecordImport::Outcome;
    LearnerRecord disk(std::make_unique<SqliteStore>(file));
    learn(disk);
    const std::string before = *disk.exportText();
    const std::string head = "quillory-record 1\n";
    const std::string screen = "screen\tForm3\t4\t26\t0\t2026-03-01 09:00:00\n";

    struct Case {
        std::string text;
        Outcome outcome;
        int line = 0;
    };
    const Case cases[] = {
        {"", Outcome::NotRecord},
        {"Dear teacher,\nhere is my homework.\n", Outcome::NotRecord},
        {std::string("SQLite format 3\0\x10\0", 19), Outcome::NotRecord},
        {"quillory-record\n", Outcome::NotRecord},
        {"quillory-record 0\nend\t0\n", Outcome::NotRecord},
        {"quillory-record 1.5\nend\t0\n", Outcome::NotRecord},
        {"quillory-record 2\nwhatever comes in version two\n", Outcome::Newer},
        {"quillory-record 123456789012345678901234567890\n", Outcome::Newer},
        {head + std::string(RecordFileLimit, 'x'), Outcome::TooLarge},
        // Cut short, or the count is off.
        {head + screen, Outcome::Damaged, 3},
        {head + screen + "end\t2\n", Outcome::Damaged, 3},
        {head + "end\t0\nscreen\tForm3\t4\t26\t0\t-\n", Outcome::Damaged, 3},
        // Fields out of shape.
        {head + "screen\tForm3'; DROP TABLE answer; --\t4\t26\t0\t-\nend\t1\n", Outcome::Damaged,
         2},
        {head + "screen\tForm3\t-4\t26\t0\t-\nend\t1\n", Outcome::Damaged, 2},
        {head + "screen\tForm3\t4\t26\t2\t-\nend\t1\n", Outcome::Damaged, 2},
        {head + "screen\tForm3\t4\t26\t0\t2026-03-01 24:00:00\nend\t1\n", Outcome::Damaged, 2},
        {head + "screen\tForm3\t4\t26\t0\t-\textra\nend\t1\n", Outcome::Damaged, 2},
        {head + screen + screen + "end\t2\n", Outcome::Damaged, 3},
        {head + "question\tForm3\t99999999999999999999\t1\nend\t1\n", Outcome::Damaged, 2},
        {head + "review\tForm3\t4\t6\t2026-03-01\t1\nend\t1\n", Outcome::Damaged, 2},
        {head + "review\tForm3\t4\t1\t2026-02-30\t1\nend\t1\n", Outcome::Damaged, 2},
        {head + "answer\t2026-03-01 09:00:00\tForm3\t4\t1\t1\t1\n\nend\t2\n", Outcome::Damaged, 3},
        {head + "answer\t2026-03-01\tForm3\t4\t1\t1\t1\nend\t1\n", Outcome::Damaged, 2},
        {head + "answer\t2026-03-01 09:00:00\tForm3\t4\t100\t1\t1\nend\t1\n", Outcome::Damaged, 2},
        {head + "grade\tA\nend\t1\n", Outcome::Damaged, 2},
    };
    for (const Case& c : cases) {
        const RecordImport result = disk.importText(c.text);
        EXPECT_EQ(result.outcome, c.outcome) << c.text.substr(0, 200);
        EXPECT_EQ(result.line, c.line) << c.text.substr(0, 200);
    }
    EXPECT_EQ(*disk.exportText(), before);
    EXPECT_EQ(disk.answerCount(), 4);
    EXPECT_TRUE(copies().empty());

    // A file another window holds: not taken, and nothing changes.
    LearnerRecord other(std::make_unique<MemoryStore>());
    other.answered("Form9", 2, 1, true, "2026-04-01 10:00:00");
    const std::string otherText = *other.exportText();
    {
        LearnerRecord held(std::make_unique<SqliteStore>(file, 50));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_EQ(held.importText(otherText).outcome, Outcome::NotKept);
        EXPECT_EQ(held.answerCount(), 4);
        EXPECT_NE(held.takeNotice(), "");
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        EXPECT_EQ(*held.exportText(), before);
    }
    // A store that stopped recording (its folder is a file) neither exports nor
    // imports.
    LearnerRecord stopped(std::make_unique<SqliteStore>(file / "inner.sqlite"));
    EXPECT_NE(stopped.takeNotice(), "");
    EXPECT_FALSE(stopped.exportText());
    EXPECT_EQ(stopped.importText(otherText).outcome, Outcome::NotKept);
}

// A view whose dialogs answer when the test says.
struct LaterExchange : FileExchange {
    void save(const std::string& name, const std::string& contents, Saved done) override
    {
        savedName = name;
        savedText = contents;
        saved = std::move(done);
    }
    void open(std::size_t limit, Opened done) override
    {
        openLimit = limit;
        opened = std::move(done);
    }
    std::string savedName, savedText;
    std::size_t openLimit = 0;
    Saved saved;
    Opened opened;
};

TEST(RecordScreenFiles, ExportsAndImportsThroughTheViewsDialogs)
{
    Learning learning(std::make_unique<MemoryStore>(), "2026-05-06");
    LaterExchange files;
    auto nav = std::make_unique<Navigator>(fs::temp_directory_path());
    defineScreens(*nav, &learning);
    nav->start("Form1");
    nav->showForm("Record");
    nav->hideForm("Form1");
    const Screen& record = *nav->screen("Record");
    auto message = [&] {
        const Control& c = record.control("Message");
        return c.visible ? c.text : std::string("(hidden)");
    };
    EXPECT_EQ(message(), "(hidden)");
    EXPECT_TRUE(record.control("Export").addition && record.control("Import").addition);

    // Without a view that saves files, the screen says so.
    nav->click("Export");
    EXPECT_EQ(message(), "ここでは記録をファイルに書き出せません。");
    nav->setFileExchange(&files);

    // Written, failed, cancelled; no second dialog while one is open.
    nav->click("Export");
    EXPECT_FALSE(record.live("Export"));
    EXPECT_FALSE(record.live("Import"));
    nav->click("Import");
    EXPECT_FALSE(files.opened);
    EXPECT_EQ(files.savedName, "quillory-record-2026-05-06.txt");
    EXPECT_EQ(files.savedText, *learning.record().exportText());
    std::exchange(files.saved, {})(FileOutcome::Done);
    EXPECT_EQ(message(), "記録を書き出しました。");
    EXPECT_TRUE(record.live("Import"));
    nav->click("Export");
    std::exchange(files.saved, {})(FileOutcome::Failed);
    EXPECT_EQ(message(), "ファイルに書き込めませんでした。記録は書き出していません。");
    nav->click("Export");
    std::exchange(files.saved, {})(FileOutcome::Cancelled);
    EXPECT_EQ(message(), "(hidden)");

    // Files refused leave the rows as they were.
    auto importing = [&](FileOutcome outcome, const std::string& text) {
        nav->click("Import");
        EXPECT_EQ(files.openLimit, RecordFileLimit);
        std::exchange(files.opened, {})(outcome, text);
        return message();
    };
    EXPECT_EQ(importing(FileOutcome::Cancelled, ""), "(hidden)");
    EXPECT_EQ(importing(FileOutcome::Failed, ""),
              "ファイルを読めませんでした。何も変えていません。");
    EXPECT_EQ(importing(FileOutcome::Done, "hello"),
              "このファイルは Quillory の記録ではありません。何も変えていません。");
    EXPECT_EQ(importing(FileOutcome::Done, "quillory-record 7\n"),
              "このファイルは新しい版の Quillory の記録です。この版では読み込めません。"
              "何も変えていません。");
    EXPECT_EQ(importing(FileOutcome::Done, "quillory-record 1\nscreen\tForm3\n"),
              "この記録のファイルは 2 行目が壊れています。何も変えていません。");
    EXPECT_EQ(record.control("State1").text, "未学習");

    // Another machine's record: the rows show it at once.
    LearnerRecord school(std::make_unique<MemoryStore>());
    school.entered(recordedScreens()[0], "2026-05-01 10:00:00");
    school.answered(recordedScreens()[0], 4, 1, true, "2026-05-01 10:00:30");
    school.reached(recordedScreens()[0], 6, 26, false);
    EXPECT_EQ(importing(FileOutcome::Done, *school.exportText()), "記録を読み込みました。");
    EXPECT_EQ(record.control("State1").text, "6/26");
    EXPECT_EQ(record.control("Rate1").text, "1/1");
    EXPECT_EQ(learning.record().answerCount(), 1);

    // The confirmation of 記録を消す takes the row, and the message goes.
    nav->click("Clear");
    EXPECT_FALSE(record.control("Export").visible || record.control("Import").visible);
    EXPECT_EQ(message(), "(hidden)");
    nav->click("No");
    EXPECT_TRUE(record.control("Export").visible && record.control("Import").visible);

    // An answer that comes after the program is gone goes nowhere.
    nav->click("Import");
    FileExchange::Opened late = std::exchange(files.opened, {});
    nav.reset();
    late(FileOutcome::Done, "hello");
    EXPECT_EQ(learning.record().answerCount(), 1);
}

} // namespace
} // namespace quillory
