// The learner's record in a SQLite file. Whatever happens to the file, the
// learner goes on: a damaged file is set aside for a fresh one, and a disk that
// refuses writes turns recording off. Each says so once, through takeNotice().
#pragma once

#include "record/record_store.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace quillory {

// The schema this program writes (PRAGMA user_version). Version 1 files are
// brought up to it when opened; newer ones are set aside.
inline constexpr int RecordSchemaVersion = 2;

// What went wrong with the file, if anything.
enum class StoreTrouble;

class SqliteStore : public RecordStore {
public:
    // Opens `file`, creating it and its folder if need be. A second program on
    // the same file waits at most `busyMs` for it.
    explicit SqliteStore(std::filesystem::path file, int busyMs = 2000);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    RecordContents load() override;
    bool write(const RecordChange& change) override;
    // Copies the file aside as "<file>.cleared-YYYYMMDD-HHMMSS", then empties it.
    bool clear() override;
    std::optional<RecordData> readAll() override;
    // Copies the file aside as "<file>.replaced-YYYYMMDD-HHMMSS", then puts
    // `data` in place of what it held, in one transaction.
    bool replace(const RecordData& data) override;
    std::string takeNotice() override;

    // Whether changes still reach the file.
    bool recording() const { return db_ != nullptr; }
    const std::filesystem::path& file() const { return file_; }

private:
    struct Statements;

    StoreTrouble open(bool create);
    StoreTrouble check();
    StoreTrouble setUp();
    StoreTrouble fail(int rc);
    // Reads everything, the answers too when asked for, in one transaction.
    bool read(RecordContents& contents, std::vector<AnswerEntry>* answers);
    // Copies the file as it is to asideName(file, why, now).
    bool keepCopy(std::string_view why);
    void close(bool keepWal);
    void stop(StoreTrouble trouble);
    void tell(const std::string& line);

    std::filesystem::path file_;
    int busyMs_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<Statements> statements_;
    std::string notice_;
    bool toldBusy_ = false;
};

// A name beside `file` that neither it nor its companions (-wal, -shm, -journal)
// take: "<file>.<why>-<stamp>", then with "-2", "-3"... added.
std::filesystem::path asideName(const std::filesystem::path& file, std::string_view why,
                                std::string_view stamp);

// Moves `file` and its companions, untouched, to asideName(); never over an
// existing file. Returns the new path, or an empty one when it could not.
std::filesystem::path moveAside(const std::filesystem::path& file, std::string_view why,
                                std::string_view stamp);

} // namespace quillory
