// How long the record takes: the mean time to keep one answer, and the start-up
// (open and read back) of a record with no answers and with 10,000.
//   record_bench [FOLDER]   (default: the temporary folder)
#include "record/learner_record.h"
#include "record/sqlite_store.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace quillory;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void removeRecord(const fs::path& file)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(file.string() + suffix);
}

// Answers as a learner gives them: fourteen screens, thirty questions each,
// one in four wrong.
void answer(LearnerRecord& record, int count, int from = 0)
{
    for (int i = from; i < from + count; ++i) {
        std::string screen = "Form" + std::to_string(3 + i % 14);
        record.answered(screen, 2 * (i / 14 % 30), 1 + i % 3, i % 4 != 0, "2025-04-01 10:00:00");
    }
}

// The median start-up of the record in `file`, in ms.
double startUp(const fs::path& file)
{
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        auto start = Clock::now();
        LearnerRecord record(std::make_unique<SqliteStore>(file));
        times.push_back(msSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    auto file = folder / ("record-bench-" + std::to_string(::getpid()) + ".sqlite");
    removeRecord(file);

    {
        LearnerRecord record(std::make_unique<SqliteStore>(file));
        const int n = 2000;
        auto start = Clock::now();
        answer(record, n);
        std::printf("answer write: %.4f ms mean over %d answers\n", msSince(start) / n, n);
    }
    removeRecord(file);

    double none = startUp(file);
    {
        LearnerRecord record(std::make_unique<SqliteStore>(file));
        answer(record, 10000);
    }
    double full = startUp(file);
    std::printf("start-up (open and read back): %.3f ms with no answers, %.3f ms with 10,000\n",
                none, full);
    removeRecord(file);
    return 0;
}
