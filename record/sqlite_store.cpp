#include "record/sqlite_store.h"

#include "record/dates.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace quillory {

enum class StoreTrouble {
    None,
    // The file is at fault: it is set aside.
    CannotOpen,
    NotRecord,
    Corrupt,
    Newer,
    // The disk or another program is: recording stops.
    Full,
    ReadOnly,
    DiskError,
    Busy,
};

namespace {

using Trouble = StoreTrouble;

// Version 1 kept each answer without whether it was a first try, and per screen
// only the furthest step and whether it was finished:
//   answer(id, answered_at, screen, question, choice, correct)
//   progress(screen PRIMARY KEY, reached_step, finished)
const char* const SchemaV2 = R"(
CREATE TABLE answer(id INTEGER PRIMARY KEY, answered_at TEXT NOT NULL, screen TEXT NOT NULL,
    question INTEGER NOT NULL, choice INTEGER NOT NULL, correct INTEGER NOT NULL,
    first_try INTEGER NOT NULL);
CREATE TABLE screen(name TEXT PRIMARY KEY, reached_step INTEGER NOT NULL,
    last_step INTEGER NOT NULL, finished INTEGER NOT NULL, last_visit TEXT);
CREATE TABLE question(screen TEXT NOT NULL, question INTEGER NOT NULL,
    first_correct INTEGER NOT NULL, PRIMARY KEY(screen, question));
CREATE TABLE review(screen TEXT NOT NULL, question INTEGER NOT NULL, box INTEGER NOT NULL,
    due TEXT NOT NULL, seq INTEGER NOT NULL, PRIMARY KEY(screen, question));
PRAGMA user_version = 2;
)";

// From version 1: a question's first answer counts as its first try (visits
// were not kept), its last step is unknown until the screen is shown again, and
// every question ever missed waits in box 1 from the day it was last missed.
const char* const FromV1 = R"(
ALTER TABLE answer ADD COLUMN first_try INTEGER NOT NULL DEFAULT 0;
UPDATE answer SET first_try = 1
    WHERE id IN (SELECT min(id) FROM answer GROUP BY screen, question);
CREATE TABLE screen(name TEXT PRIMARY KEY, reached_step INTEGER NOT NULL,
    last_step INTEGER NOT NULL, finished INTEGER NOT NULL, last_visit TEXT);
INSERT INTO screen
    SELECT p.screen, p.reached_step, 0, p.finished,
           (SELECT max(a.answered_at) FROM answer a WHERE a.screen = p.screen)
    FROM progress p;
DROP TABLE progress;
CREATE TABLE question(screen TEXT NOT NULL, question INTEGER NOT NULL,
    first_correct INTEGER NOT NULL, PRIMARY KEY(screen, question));
INSERT INTO question SELECT screen, question, correct FROM answer WHERE first_try = 1;
CREATE TABLE review(screen TEXT NOT NULL, question INTEGER NOT NULL, box INTEGER NOT NULL,
    due TEXT NOT NULL, seq INTEGER NOT NULL, PRIMARY KEY(screen, question));
INSERT INTO review
    SELECT screen, question, 1, substr(max(answered_at), 1, 10), max(id)
    FROM answer WHERE correct = 0 GROUP BY screen, question;
PRAGMA user_version = 2;
)";

const char* const Companions[] = {"-wal", "-shm", "-journal"};

class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        rc_ = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s_, nullptr);
    }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepared() const { return rc_; }

    Statement& bind(int i, std::int64_t value)
    {
        sqlite3_bind_int64(s_, i, value);
        return *this;
    }
    Statement& bind(int i, const std::string& text)
    {
        if (text.empty())
            sqlite3_bind_null(s_, i);
        else
            sqlite3_bind_text(s_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }

    // Runs a statement that returns no rows.
    int run()
    {
        int rc = sqlite3_step(s_);
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
        return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
    }

    // Steps through rows: SQLITE_ROW while there are some.
    int step() { return sqlite3_step(s_); }
    std::int64_t number(int column) const { return sqlite3_column_int64(s_, column); }
    std::string text(int column) const
    {
        auto p = sqlite3_column_text(s_, column);
        return p ? reinterpret_cast<const char*>(p) : "";
    }

private:
    sqlite3_stmt* s_ = nullptr;
    int rc_ = SQLITE_OK;
};

// The first column of the first row of `sql`.
int queryNumber(sqlite3* db, const char* sql, std::int64_t& value)
{
    Statement s(db, sql);
    if (s.prepared() != SQLITE_OK)
        return s.prepared();
    int rc = s.step();
    if (rc == SQLITE_ROW)
        value = s.number(0);
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int queryText(sqlite3* db, const char* sql, std::string& value)
{
    Statement s(db, sql);
    if (s.prepared() != SQLITE_OK)
        return s.prepared();
    int rc = s.step();
    if (rc == SQLITE_ROW)
        value = s.text(0);
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int exec(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

bool isDamage(Trouble t)
{
    return t == Trouble::CannotOpen || t == Trouble::NotRecord || t == Trouble::Corrupt ||
           t == Trouble::Newer;
}

// Whether new files can be made in `folder` (a test that holds for root too).
bool folderTakesFiles(const std::filesystem::path& folder)
{
    auto probe = folder / (".quillory-probe-" + std::to_string(::getpid()));
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool taken(const std::filesystem::path& name)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(name, ec));
}

// Renames, never over an existing file.
bool renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    return !taken(to) && std::rename(from.c_str(), to.c_str()) == 0;
}

std::filesystem::path withSuffix(const std::filesystem::path& file, std::string_view suffix)
{
    auto name = file;
    name += std::string(suffix);
    return name;
}

std::string damageNotice(Trouble t, const std::filesystem::path& aside)
{
    const char* what = t == Trouble::Newer ? "記録ファイルがこのプログラムより新しい版のものでした"
                       : t == Trouble::CannotOpen ? "記録ファイルを開けませんでした"
                       : t == Trouble::NotRecord ? "記録ファイルが記録の形式ではありませんでした"
                                                 : "記録ファイルが壊れていました";
    return std::string(what) + "。元のファイルは " + aside.filename().string() +
           " として残し、新しい記録を始めました。";
}

std::string stopNotice(Trouble t)
{
    switch (t) {
    case Trouble::Full:
        return "ディスクがいっぱいのため、記録せずに続けます。";
    case Trouble::ReadOnly:
        return "記録の保存先に書き込めないため、記録せずに続けます。";
    case Trouble::Busy:
        return "記録ファイルを別のウィンドウが使っているため、記録せずに続けます。";
    case Trouble::DiskError:
        return "記録ファイルの読み書きに失敗したため、記録せずに続けます。";
    default:
        return "記録ファイルが壊れたため、記録せずに続けます。";
    }
}

} // namespace

struct SqliteStore::Statements {
    explicit Statements(sqlite3* db)
        : begin(db, "BEGIN IMMEDIATE"), commit(db, "COMMIT"), rollback(db, "ROLLBACK"),
          answer(db, "INSERT INTO answer(answered_at, screen, question, choice, correct, "
                     "first_try) VALUES(?, ?, ?, ?, ?, ?)"),
          screen(db, "INSERT OR REPLACE INTO screen(name, reached_step, last_step, finished, "
                     "last_visit) VALUES(?, ?, ?, ?, ?)"),
          question(db, "INSERT OR REPLACE INTO question(screen, question, first_correct) "
                       "VALUES(?, ?, ?)"),
          schedule(db, "INSERT OR REPLACE INTO review(screen, question, box, due, seq) "
                       "VALUES(?, ?, ?, ?, ?)"),
          retire(db, "DELETE FROM review WHERE screen = ? AND question = ?")
    {
    }

    int prepared() const
    {
        for (const Statement* s :
             {&begin, &commit, &rollback, &answer, &screen, &question, &schedule, &retire}) {
            if (s->prepared() != SQLITE_OK)
                return s->prepared();
        }
        return SQLITE_OK;
    }

    int put(const AnswerEntry& a)
    {
        return answer.bind(1, a.when)
            .bind(2, a.screen)
            .bind(3, a.question)
            .bind(4, a.answer)
            .bind(5, a.right)
            .bind(6, a.firstTry)
            .run();
    }
    int put(const ScreenEntry& e)
    {
        return screen.bind(1, e.screen)
            .bind(2, e.reached)
            .bind(3, e.last)
            .bind(4, e.finished)
            .bind(5, e.lastVisit)
            .run();
    }
    int put(const QuestionEntry& q)
    {
        return question.bind(1, q.screen).bind(2, q.question).bind(3, q.firstRight).run();
    }
    int put(const ReviewEntry& r)
    {
        return schedule.bind(1, r.screen)
            .bind(2, r.question)
            .bind(3, r.box)
            .bind(4, r.due)
            .bind(5, r.seq)
            .run();
    }

    Statement begin, commit, rollback, answer, screen, question, schedule, retire;
};

SqliteStore::SqliteStore(std::filesystem::path file, int busyMs)
    : file_(std::move(file)), busyMs_(busyMs)
{
    std::error_code ec;
    if (file_.has_parent_path())
        std::filesystem::create_directories(file_.parent_path(), ec);
    bool existed = taken(file_);
    Trouble t = open(!existed);
    if (existed && isDamage(t)) {
        // Closed without a checkpoint, so the file and its log stay as they were.
        close(true);
        auto aside = moveAside(file_, "damaged", localStamp());
        if (aside.empty()) {
            tell("記録ファイルが壊れていて別名でも残せないため、記録せずに続けます。");
            return;
        }
        tell(damageNotice(t, aside));
        t = open(true);
    }
    if (t != Trouble::None)
        stop(t);
}

SqliteStore::~SqliteStore()
{
    close(false);
}

StoreTrouble SqliteStore::open(bool create)
{
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(file_.c_str(), &db_, flags, nullptr);
    if (db_) {
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, busyMs_);
    }
    if (rc != SQLITE_OK)
        return fail(rc);
    // A file open for reading only: SQLite quietly falls back to that.
    if (sqlite3_db_readonly(db_, "main") == 1)
        return Trouble::ReadOnly;
    return check();
}

StoreTrouble SqliteStore::check()
{
    std::int64_t version = 0;
    if (int rc = queryNumber(db_, "PRAGMA user_version", version))
        return fail(rc);
    if (version > RecordSchemaVersion)
        return Trouble::Newer;
    std::string verdict;
    if (int rc = queryText(db_, "PRAGMA integrity_check", verdict))
        return fail(rc);
    if (verdict != "ok")
        return Trouble::Corrupt;
    std::int64_t tables = 0;
    if (int rc = queryNumber(db_, "SELECT count(*) FROM sqlite_schema", tables))
        return fail(rc);
    if (version == 0 && tables > 0)
        return Trouble::NotRecord;
    if (version == RecordSchemaVersion) {
        // The tables must be the ones this program writes.
        statements_ = std::make_unique<Statements>(db_);
        if (statements_->prepared() != SQLITE_OK)
            return Trouble::NotRecord;
    }
    return setUp();
}

// Brings the file to the current schema inside one transaction, so a second
// program, or a kill, finds it either before or after.
StoreTrouble SqliteStore::setUp()
{
    std::string mode;
    if (int rc = queryText(db_, "PRAGMA journal_mode = WAL", mode))
        return fail(rc);
    // Each commit reaches the operating system before write() returns, so a
    // killed program loses nothing it wrote; only a power cut may lose the last.
    exec(db_, "PRAGMA synchronous = NORMAL");
    if (int rc = exec(db_, "BEGIN IMMEDIATE"))
        return fail(rc);
    std::int64_t version = 0;
    std::int64_t tables = 0;
    int rc = queryNumber(db_, "PRAGMA user_version", version);
    if (rc == SQLITE_OK)
        rc = queryNumber(db_, "SELECT count(*) FROM sqlite_schema", tables);
    if (rc == SQLITE_OK && version == 0 && tables == 0)
        rc = exec(db_, SchemaV2);
    else if (rc == SQLITE_OK && version == 1)
        rc = exec(db_, FromV1);
    if (rc == SQLITE_OK)
        rc = exec(db_, "COMMIT");
    if (rc != SQLITE_OK) {
        if (!sqlite3_get_autocommit(db_))
            exec(db_, "ROLLBACK");
        return (rc & 0xff) == SQLITE_ERROR ? Trouble::NotRecord : fail(rc);
    }
    if (!statements_)
        statements_ = std::make_unique<Statements>(db_);
    return statements_->prepared() == SQLITE_OK ? Trouble::None : Trouble::NotRecord;
}

StoreTrouble SqliteStore::fail(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Trouble::Busy;
    case SQLITE_FULL:
        return Trouble::Full;
    case SQLITE_CANTOPEN:
        // The folder refuses new files (the log beside a file, or the file
        // itself), or the file cannot be opened for what it is.
        if (taken(file_) && folderTakesFiles(file_.has_parent_path() ? file_.parent_path() : "."))
            return Trouble::CannotOpen;
        return Trouble::ReadOnly;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Trouble::ReadOnly;
    case SQLITE_NOTADB:
        return Trouble::NotRecord;
    case SQLITE_CORRUPT:
        return Trouble::Corrupt;
    default:
        return Trouble::DiskError;
    }
}

void SqliteStore::close(bool keepWal)
{
    statements_.reset();
    if (!db_)
        return;
    if (keepWal)
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteStore::stop(Trouble t)
{
    close(false);
    tell(stopNotice(t));
}

void SqliteStore::tell(const std::string& line)
{
    notice_ += notice_.empty() ? line : "　" + line;
}

std::string SqliteStore::takeNotice()
{
    return std::exchange(notice_, {});
}

RecordContents SqliteStore::load()
{
    RecordContents contents;
    if (db_)
        read(contents, nullptr);
    return contents;
}

std::optional<RecordData> SqliteStore::readAll()
{
    if (!db_)
        return std::nullopt;
    RecordContents contents;
    RecordData data;
    if (!read(contents, &data.answers))
        return std::nullopt;
    data.screens = std::move(contents.screens);
    data.questions = std::move(contents.questions);
    data.reviews = std::move(contents.reviews);
    return data;
}

bool SqliteStore::read(RecordContents& contents, std::vector<AnswerEntry>* answers)
{
    // Calls `row` for each row of `sql` while all goes well.
    auto rows = [this](int rc, const char* sql, auto row) {
        if (rc != SQLITE_OK)
            return rc;
        Statement s(db_, sql);
        if (s.prepared() != SQLITE_OK)
            return s.prepared();
        while ((rc = s.step()) == SQLITE_ROW)
            row(s);
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    };
    // One read transaction: all of it as it was at one moment.
    int rc = exec(db_, "BEGIN");
    rc = rows(rc, "SELECT name, reached_step, last_step, finished, last_visit FROM screen",
              [&](const Statement& s) {
                  contents.screens.push_back({s.text(0), static_cast<int>(s.number(1)),
                                              static_cast<int>(s.number(2)), s.number(3) != 0,
                                              s.text(4)});
              });
    rc = rows(rc, "SELECT screen, question, first_correct FROM question", [&](const Statement& s) {
        contents.questions.push_back({s.text(0), static_cast<int>(s.number(1)), s.number(2) != 0});
    });
    rc = rows(rc, "SELECT screen, question, box, due, seq FROM review ORDER BY due, seq",
              [&](const Statement& s) {
                  contents.reviews.push_back({s.text(0), static_cast<int>(s.number(1)),
                                              static_cast<int>(s.number(2)), s.text(3),
                                              s.number(4)});
              });
    rc = rows(rc, "SELECT count(*) FROM answer",
              [&](const Statement& s) { contents.answers = s.number(0); });
    if (answers != nullptr) {
        rc = rows(rc,
                  "SELECT answered_at, screen, question, choice, correct, first_try FROM answer "
                  "ORDER BY id",
                  [&](const Statement& s) {
                      answers->push_back({s.text(0), s.text(1), static_cast<int>(s.number(2)),
                                          static_cast<int>(s.number(3)), s.number(4) != 0,
                                          s.number(5) != 0});
                  });
    }
    if (!sqlite3_get_autocommit(db_))
        exec(db_, "COMMIT");
    if (rc != SQLITE_OK)
        stop(fail(rc));
    return rc == SQLITE_OK;
}

bool SqliteStore::write(const RecordChange& change)
{
    if (!db_)
        return false;
    auto& s = *statements_;
    int rc = s.begin.run();
    if (rc == SQLITE_OK && change.answer)
        rc = s.put(*change.answer);
    if (rc == SQLITE_OK && change.screen)
        rc = s.put(*change.screen);
    if (rc == SQLITE_OK && change.question)
        rc = s.put(*change.question);
    if (rc == SQLITE_OK && change.schedule)
        rc = s.put(*change.schedule);
    if (rc == SQLITE_OK && change.retire)
        rc = s.retire.bind(1, change.retire->screen).bind(2, change.retire->question).run();
    if (rc == SQLITE_OK)
        rc = s.commit.run();
    if (rc == SQLITE_OK)
        return true;
    if (!sqlite3_get_autocommit(db_))
        s.rollback.run();
    Trouble t = fail(rc);
    if (t == Trouble::Busy) {
        // Another window held the file past the wait: this change is lost, the
        // next may go through.
        if (!std::exchange(toldBusy_, true))
            tell("記録ファイルを別のウィンドウが使っていたため、記録できなかった解答があります。");
        return false;
    }
    stop(t);
    return false;
}

bool SqliteStore::keepCopy(std::string_view why)
{
    auto copy = asideName(file_, why, localStamp());
    Statement vacuum(db_, "VACUUM INTO ?");
    int rc = vacuum.prepared();
    if (rc == SQLITE_OK)
        rc = vacuum.bind(1, copy.string()).run();
    return rc == SQLITE_OK;
}

bool SqliteStore::clear()
{
    if (!db_)
        return false;
    if (!keepCopy("cleared")) {
        tell("記録の控えを作れなかったため、記録を消しませんでした。");
        return false;
    }
    int rc = exec(db_, "BEGIN IMMEDIATE; DELETE FROM answer; DELETE FROM screen; "
                       "DELETE FROM question; DELETE FROM review; COMMIT");
    if (rc == SQLITE_OK)
        return true;
    if (!sqlite3_get_autocommit(db_))
        exec(db_, "ROLLBACK");
    stop(fail(rc));
    return false;
}

bool SqliteStore::replace(const RecordData& data)
{
    if (!db_)
        return false;
    if (!keepCopy("replaced")) {
        tell("記録の控えを作れなかったため、記録を読み込みませんでした。");
        return false;
    }
    auto& s = *statements_;
    int rc = s.begin.run();
    if (rc == SQLITE_OK)
        rc = exec(db_, "DELETE FROM answer; DELETE FROM screen; DELETE FROM question; "
                       "DELETE FROM review");
    for (std::size_t i = 0; rc == SQLITE_OK && i < data.screens.size(); ++i)
        rc = s.put(data.screens[i]);
    for (std::size_t i = 0; rc == SQLITE_OK && i < data.questions.size(); ++i)
        rc = s.put(data.questions[i]);
    for (std::size_t i = 0; rc == SQLITE_OK && i < data.reviews.size(); ++i)
        rc = s.put(data.reviews[i]);
    for (std::size_t i = 0; rc == SQLITE_OK && i < data.answers.size(); ++i)
        rc = s.put(data.answers[i]);
    if (rc == SQLITE_OK)
        rc = s.commit.run();
    if (rc == SQLITE_OK)
        return true;
    if (!sqlite3_get_autocommit(db_))
        s.rollback.run();
    if (fail(rc) == Trouble::Busy) {
        tell("記録ファイルを別のウィンドウが使っていたため、記録を読み込みませんでした。");
        return false;
    }
    stop(fail(rc));
    return false;
}

std::filesystem::path asideName(const std::filesystem::path& file, std::string_view why,
                                std::string_view stamp)
{
    auto base = withSuffix(file, "." + std::string(why) + "-" + std::string(stamp));
    for (int n = 1;; ++n) {
        auto name = n == 1 ? base : withSuffix(base, "-" + std::to_string(n));
        bool free = !taken(name);
        for (const char* companion : Companions)
            free = free && !taken(withSuffix(name, companion));
        if (free)
            return name;
    }
}

std::filesystem::path moveAside(const std::filesystem::path& file, std::string_view why,
                                std::string_view stamp)
{
    auto aside = asideName(file, why, stamp);
    if (!renameNoReplace(file, aside))
        return {};
    // A log left beside a fresh file would be read into it: each must go too.
    for (const char* companion : Companions) {
        auto from = withSuffix(file, companion);
        if (taken(from) && !renameNoReplace(from, withSuffix(aside, companion)))
            return {};
    }
    return aside;
}

} // namespace quillory
