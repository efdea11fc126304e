// The learner's record as a text file that moves between machines, the same on
// the desktop and in the browser. The first line names the format and its
// version; then one tab-separated line per entry; the last line counts them, so
// a file cut short is told from a whole one:
//
//   quillory-record 1
//   screen    NAME  REACHED  LAST  FINISHED  LAST-VISIT ("-" when never)
//   question  SCREEN  QUESTION  FIRST-RIGHT
//   review    SCREEN  QUESTION  BOX  DUE  SEQ
//   answer    WHEN  SCREEN  QUESTION  ANSWER  RIGHT  FIRST-TRY
//   end       ENTRIES
//
// Flags are 0 or 1, days "YYYY-MM-DD", moments "YYYY-MM-DD HH:MM:SS". A file
// is untrusted: every field is checked, and a file is read whole or not at all.
#pragma once

#include "record/record_store.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quillory {

// The version this program writes, and the newest it reads.
inline constexpr int RecordFileVersion = 1;
// The longest file taken as a record.
inline constexpr std::size_t RecordFileLimit = 8 * 1024 * 1024;

enum class RecordFileProblem {
    None,
    NotRecord, // not a record file at all (or empty)
    Newer,     // a record of a newer version than this program reads
    TooLarge,  // longer than RecordFileLimit
    Damaged,   // a record, but a line of it is wrong or it is cut short
};

struct RecordFileRead {
    RecordFileProblem problem = RecordFileProblem::None;
    // With Damaged: the first wrong line (1 based), or the line after the last
    // when the file is cut short.
    int line = 0;
    // With None: what the file holds.
    RecordData data;
};

// The record as a file's text, entries in a fixed order (answers as given).
std::string writeRecordFile(const RecordData& data);
// What a file's text holds, or why it is refused. Lines may end in LF or CR LF.
RecordFileRead readRecordFile(std::string_view text);

} // namespace quillory
