// The record in its SQLite file: kept across runs, brought up from version 1,
// damaged files set aside, disks that refuse writes, two programs, and kills.
#include "record/learner_record.h"
#include "record/sqlite_store.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace quillory {
namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, removed after.
class RecordFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto name = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        folder = fs::temp_directory_path() /
                 ("quillory-record-" + name + "-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = folder / "record.sqlite";
    }
    void TearDown() override
    {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }

    // The files beside the record whose names start with `prefix`.
    std::vector<fs::path> filesStarting(const std::string& prefix) const
    {
        std::vector<fs::path> found;
        for (const auto& e : fs::directory_iterator(file.parent_path())) {
            if (e.path().filename().string().rfind(prefix, 0) == 0)
                found.push_back(e.path());
        }
        return found;
    }

    fs::path folder;
    fs::path file;
};

std::string bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Runs `sql` on `path` outside the store and returns the first column of its
// first row.
std::string query(const fs::path& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string value = "(error)";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK) {
            int rc = sqlite3_step(s);
            if (rc == SQLITE_ROW)
                value = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
            else if (rc == SQLITE_DONE)
                value = "";
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return value;
}

void run(const fs::path& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

RecordChange answerChange(int i)
{
    RecordChange change;
    change.answer =
        AnswerEntry{"2025-04-01 10:00:00", "Form3", 2 * (i % 9), 1 + i % 3, i % 4 != 0, true};
    return change;
}

// Runs `body` in a child process and returns its exit status (0 when it held).
template <typename Body> int inChild(Body body)
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST_F(RecordFile, KeepsTheLearnersRecordAcrossRuns)
{
    file = folder / "new" / "folder" / "record.sqlite";
    {
        LearnerRecord record(std::make_unique<SqliteStore>(file));
        EXPECT_EQ(record.takeNotice(), "");
        record.entered("Form3", "2025-04-01 10:00:00");
        record.answered("Form3", 4, 2, false, "2025-04-01 10:01:00");
        record.answered("Form3", 4, 1, true, "2025-04-01 10:01:10");
        record.answered("Form3", 8, 3, true, "2025-04-01 10:02:00");
        record.answered("Form5", 6, 1, false, "2025-04-01 10:05:00");
        record.reached("Form3", 30, 52, false);
        record.reviewed("Form5", 6, true, "2025-04-01");
    }
    EXPECT_EQ(query(file, "PRAGMA user_version"), "2");
    EXPECT_EQ(query(file, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(query(file, "SELECT group_concat(first_try) FROM answer"), "1,0,1,1");

    LearnerRecord again(std::make_unique<SqliteStore>(file));
    EXPECT_EQ(again.takeNotice(), "");
    EXPECT_EQ(again.answerCount(), 4);
    auto p = again.progress("Form3");
    EXPECT_EQ(p.reached, 30);
    EXPECT_EQ(p.last, 52);
    EXPECT_FALSE(p.finished);
    EXPECT_EQ(p.firstTryRight, 1);
    EXPECT_EQ(p.firstTryAsked, 2);
    EXPECT_EQ(p.lastVisit, "2025-04-01 10:00:00");
    EXPECT_EQ(again.box("Form3", 4), 1);
    EXPECT_EQ(again.box("Form5", 6), 2);
    EXPECT_EQ(again.nextDue("2025-04-01"), "2025-04-02");

    // 「記録を消す」: a copy first, then nothing.
    EXPECT_TRUE(again.clear());
    auto copies = filesStarting("record.sqlite.cleared-");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(query(copies[0], "SELECT count(*) FROM answer"), "4");
    EXPECT_EQ(LearnerRecord(std::make_unique<SqliteStore>(file)).answerCount(), 0);
}

TEST_F(RecordFile, BringsVersionOneFilesUpToDate)
{
    run(file, R"(
        CREATE TABLE answer(id INTEGER PRIMARY KEY, answered_at TEXT NOT NULL,
            screen TEXT NOT NULL, question INTEGER NOT NULL, choice INTEGER NOT NULL,
            correct INTEGER NOT NULL);
        CREATE TABLE progress(screen TEXT PRIMARY KEY, reached_step INTEGER NOT NULL,
            finished INTEGER NOT NULL);
        INSERT INTO answer(answered_at, screen, question, choice, correct) VALUES
            ('2025-03-01 09:00:00', 'Form3', 4, 2, 0),
            ('2025-03-01 09:00:05', 'Form3', 4, 1, 1),
            ('2025-03-01 09:01:00', 'Form3', 8, 1, 1),
            ('2025-03-02 09:00:00', 'Form3', 8, 3, 0),
            ('2025-03-02 18:00:00', 'Form17', 12, 1, 1);
        INSERT INTO progress VALUES ('Form3', 40, 1), ('Form17', 12, 0);
        PRAGMA user_version = 1;
    )");

    LearnerRecord record(std::make_unique<SqliteStore>(file));
    EXPECT_EQ(record.takeNotice(), "");
    EXPECT_EQ(query(file, "PRAGMA user_version"), "2");
    EXPECT_EQ(record.answerCount(), 5);
    auto p = record.progress("Form3");
    EXPECT_EQ(p.reached, 40);
    EXPECT_TRUE(p.finished);
    EXPECT_EQ(p.firstTryAsked, 2);
    EXPECT_EQ(p.firstTryRight, 1);
    EXPECT_EQ(p.lastVisit, "2025-03-02 09:00:00");
    EXPECT_EQ(record.progress("Form17").firstTryRight, 1);
    // Both questions ever missed wait in box 1, from the day of their last miss.
    auto due = record.due("2025-03-05");
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].question, 4);
    EXPECT_EQ(due[0].due, "2025-03-01");
    EXPECT_EQ(due[1].question, 8);
    EXPECT_EQ(due[1].due, "2025-03-02");
    // And it goes on from there.
    record.answered("Form3", 12, 1, true, "2025-03-05 10:00:00");
    EXPECT_EQ(query(file, "SELECT count(*) FROM answer WHERE first_try = 1"), "4");
}

TEST_F(RecordFile, SetsDamagedFilesAsideUntouched)
{
    struct Case {
        const char* what;
        const char* said;
        std::function<void(const fs::path&)> make;
    };
    const std::vector<Case> cases = {
        {"not a database", "記録の形式ではありません",
         [](const fs::path& f) {
             writeFile(f, std::string(5000, 'x'));
             writeFile(f.string() + "-wal", "a log");
         }},
        {"fails the integrity check", "壊れていました",
         [](const fs::path& f) {
             run(f, "PRAGMA journal_mode = DELETE; CREATE TABLE t(x); CREATE INDEX i ON t(x);"
                    "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 2000)"
                    "INSERT INTO t SELECT printf('%08d', k) FROM n; PRAGMA user_version = 2;");
             // Garbles the middle of the index's pages.
             std::fstream io(f, std::ios::in | std::ios::out | std::ios::binary);
             io.seekp(static_cast<std::streamoff>(fs::file_size(f) - 6000));
             io << std::string(3000, '\x5a');
         }},
        {"from a newer version", "新しい版",
         [](const fs::path& f) {
             run(f, "CREATE TABLE answer(id INTEGER PRIMARY KEY, at TEXT, more TEXT);"
                    "PRAGMA user_version = 3;");
         }},
        {"another program's database", "記録の形式ではありません",
         [](const fs::path& f) { run(f, "CREATE TABLE notes(text TEXT);"); }},
        {"cannot be opened", "開けませんでした",
         [](const fs::path& f) { fs::create_directory(f); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder);
        fs::create_directories(folder);
        c.make(file);
        std::string before = fs::is_regular_file(file) ? bytes(file) : "";

        SqliteStore store(file);
        std::string notice = store.takeNotice();
        EXPECT_NE(notice.find("record.sqlite.damaged-"), std::string::npos) << notice;
        EXPECT_NE(notice.find(c.said), std::string::npos) << notice;
        EXPECT_EQ(store.takeNotice(), "") << "said once";

        auto aside = filesStarting("record.sqlite.damaged-");
        ASSERT_FALSE(aside.empty());
        fs::path moved = *std::min_element(aside.begin(), aside.end());
        EXPECT_EQ(fs::is_regular_file(moved) ? bytes(moved) : "", before);
        if (c.what == std::string("not a database")) {
            EXPECT_EQ(bytes(moved.string() + "-wal"), "a log");
        }

        // A fresh record in its place.
        EXPECT_TRUE(store.recording());
        EXPECT_TRUE(store.write(answerChange(1)));
        EXPECT_EQ(store.load().answers, 1);
        EXPECT_EQ(query(file, "PRAGMA integrity_check"), "ok");
    }
}

TEST_F(RecordFile, NeverMovesOverAFileAlreadyAside)
{
    writeFile(file, "first");
    writeFile(file.string() + "-shm", "index");
    auto first = moveAside(file, "damaged", "20250401-100000");
    EXPECT_EQ(first.filename(), "record.sqlite.damaged-20250401-100000");
    writeFile(file, "second");
    auto second = moveAside(file, "damaged", "20250401-100000");
    EXPECT_EQ(second.filename(), "record.sqlite.damaged-20250401-100000-2");
    // A companion's name taken is enough to pass a name over.
    writeFile(folder / "record.sqlite.damaged-20250401-100000-3-wal", "other");
    writeFile(file, "third");
    EXPECT_EQ(moveAside(file, "damaged", "20250401-100000").filename(),
              "record.sqlite.damaged-20250401-100000-4");
    EXPECT_EQ(bytes(first), "first");
    EXPECT_EQ(bytes(first.string() + "-shm"), "index");
    EXPECT_EQ(bytes(second), "second");
    EXPECT_FALSE(fs::exists(file));
}

// Tests run as root, for whom file modes do not stop writes. So: a folder that
// cannot exist (its path goes through a file), a file-size limit standing in for
// a full disk, and a read-only folder tried as the user nobody.
TEST_F(RecordFile, GoesOnWithoutRecordingWhenWritesAreRefused)
{
    {
        writeFile(folder / "plain", "");
        SqliteStore store(folder / "plain" / "record.sqlite");
        EXPECT_FALSE(store.recording());
        EXPECT_NE(store.takeNotice(), "");
        EXPECT_FALSE(store.write(answerChange(1)));
        EXPECT_EQ(store.takeNotice(), "");
        LearnerRecord record(std::make_unique<SqliteStore>(folder / "plain" / "record.sqlite"));
        record.answered("Form3", 4, 1, false, "2025-04-01 10:00:00");
        EXPECT_EQ(record.box("Form3", 4), 1) << "the session still keeps it";
    }
    {
        SqliteStore(file).write(answerChange(0));
    }
    int full = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        SqliteStore store(file);
        rlimit limit{static_cast<rlim_t>(fs::file_size(file)), RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int i = 0;
        while (store.write(answerChange(i)) && i < 100000)
            ++i;
        bool said = !store.takeNotice().empty();
        return !store.recording() && said && store.takeNotice().empty() ? 0 : 1;
    });
    EXPECT_EQ(full, 0);
    EXPECT_EQ(query(file, "PRAGMA integrity_check"), "ok");

    // A damaged file in a read-only folder stays where it is, untouched.
    writeFile(folder / "garbled.sqlite", std::string(5000, 'x'));
    fs::permissions(folder / "garbled.sqlite", fs::perms(0666));
    fs::permissions(folder, fs::perms(0555));
    int unmovable = inChild([&] {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            return 2;
        SqliteStore store(folder / "garbled.sqlite");
        bool said = store.takeNotice().find("別名でも残せない") != std::string::npos;
        return !store.recording() && said ? 0 : 1;
    });
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(unmovable, 0);
    EXPECT_EQ(bytes(folder / "garbled.sqlite"), std::string(5000, 'x'));

    for (auto mode : {fs::perms(0644), fs::perms(0666)}) {
        fs::permissions(file, mode);
        fs::permissions(folder, fs::perms(0555));
        int readOnly = inChild([&] {
            if (::geteuid() == 0 && ::setuid(65534) != 0)
                return 2;
            SqliteStore store(file);
            bool said = !store.takeNotice().empty();
            return !store.recording() && said && !store.write(answerChange(1)) ? 0 : 1;
        });
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(readOnly, 0) << "file mode " << static_cast<int>(mode);
        EXPECT_TRUE(filesStarting("record.sqlite.damaged-").empty());
    }
}

TEST_F(RecordFile, TwoProgramsShareOneFile)
{
    const int each = 300;
    {
        SqliteStore(file).write(answerChange(0));
    }
    pid_t other = ::fork();
    if (other == 0) {
        SqliteStore store(file);
        int kept = 0;
        for (int i = 0; i < each; ++i)
            kept += store.write(answerChange(i)) ? 1 : 0;
        ::_exit(kept == each ? 0 : 1);
    }
    SqliteStore store(file);
    int kept = 0;
    for (int i = 0; i < each; ++i)
        kept += store.write(answerChange(i)) ? 1 : 0;
    int status = 0;
    ::waitpid(other, &status, 0);
    EXPECT_EQ(kept, each);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(store.takeNotice(), "");
    EXPECT_EQ(store.load().answers, 2 * each + 1);
    EXPECT_EQ(query(file, "PRAGMA integrity_check"), "ok");
}

TEST_F(RecordFile, OneThatHoldsTheFileTooLongCostsAnAnswerNotTheRecord)
{
    SqliteStore store(file, 50);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(store.write(answerChange(1)));
    EXPECT_FALSE(store.write(answerChange(2)));
    EXPECT_NE(store.takeNotice(), "");
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(store.recording());
    EXPECT_TRUE(store.write(answerChange(3)));
    EXPECT_EQ(store.takeNotice(), "") << "said once";
}

// A child writes answers until killed, telling through a pipe each one kept.
// Every answer it was told kept is there, and at most one more: the one in flight.
TEST_F(RecordFile, KilledAtAnyMomentLosesAtMostTheAnswerInFlight)
{
    std::mt19937 random(24);
    std::int64_t count = 0;
    for (int round = 0; round < 30; ++round) {
        int kept[2];
        ASSERT_EQ(::pipe(kept), 0);
        pid_t child = ::fork();
        if (child == 0) {
            ::close(kept[0]);
            SqliteStore store(file);
            for (int i = 0; i < 1000000; ++i) {
                if (store.write(answerChange(i)) && ::write(kept[1], "+", 1) != 1)
                    ::_exit(1);
            }
            ::_exit(0);
        }
        ::close(kept[1]);
        // One round in three early, while the child opens or makes the file.
        int most = round % 3 == 0 ? 2000 : 30000;
        ::usleep(std::uniform_int_distribution<useconds_t>(0, most)(random));
        ::kill(child, SIGKILL);
        std::int64_t told = 0;
        char buffer[4096];
        for (ssize_t n; (n = ::read(kept[0], buffer, sizeof buffer)) > 0;)
            told += n;
        ::close(kept[0]);
        ::waitpid(child, nullptr, 0);

        SCOPED_TRACE("round " + std::to_string(round));
        if (!fs::exists(file))
            continue; // killed before it made the file
        ASSERT_EQ(query(file, "PRAGMA integrity_check"), "ok");
        // Killed before the tables were made, there are none yet.
        bool made = query(file, "SELECT count(*) FROM sqlite_schema WHERE name = 'answer'") == "1";
        std::int64_t n = made ? std::stoll(query(file, "SELECT count(*) FROM answer")) : 0;
        EXPECT_GE(n, count + told);
        EXPECT_LE(n, count + told + 1);
        count = n;
    }
    EXPECT_GT(count, 0);
    EXPECT_TRUE(filesStarting("record.sqlite.damaged-").empty());
    SqliteStore store(file);
    EXPECT_EQ(store.takeNotice(), "");
    EXPECT_EQ(store.load().answers, count);
}

} // namespace
} // namespace quillory
