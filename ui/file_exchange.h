// Files the learner hands the program or takes from it: a dialog on the
// desktop, a download or an upload in the browser. A view answers through the
// callback, at once or later, exactly once per call.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace quillory {

enum class FileOutcome {
    Done,
    Cancelled, // the learner closed the dialog: nothing to tell
    Failed,    // the file could not be written or read
};

class FileExchange {
public:
    using Saved = std::function<void(FileOutcome)>;
    // With Done: the file's bytes, at most `limit` + 1 of them (a longer file
    // is cut there, so the caller can tell it is too long).
    using Opened = std::function<void(FileOutcome, std::string contents)>;

    virtual ~FileExchange() = default;

    // Offers `contents` to be kept as a file named like `suggestedName`.
    virtual void save(const std::string& suggestedName, const std::string& contents,
                      Saved done) = 0;
    // Asks for a file to read.
    virtual void open(std::size_t limit, Opened done) = 0;
};

// Files kept in memory, for the replay driver and tests: a save keeps the
// text, an open hands back the last text saved (none yet: cancelled).
class MemoryExchange : public FileExchange {
public:
    void save(const std::string& suggestedName, const std::string& contents, Saved done) override
    {
        name_ = suggestedName;
        saved_ = contents;
        done(FileOutcome::Done);
    }
    void open(std::size_t limit, Opened done) override
    {
        if (!saved_)
            return done(FileOutcome::Cancelled, {});
        done(FileOutcome::Done, saved_->substr(0, limit + 1));
    }

    const std::optional<std::string>& saved() const { return saved_; }
    const std::string& savedName() const { return name_; }
    // What the next open hands back.
    void setSaved(std::string contents) { saved_ = std::move(contents); }

private:
    std::string name_;
    std::optional<std::string> saved_;
};

} // namespace quillory
