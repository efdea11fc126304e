// The record's logic over a store in memory: first tries per visit, how far a
// screen got and in what words, and the review boxes over the days.
#include "record/dates.h"
#include "record/learner_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillory {
namespace {

struct CountingStore : MemoryStore {
    bool write(const RecordChange& change) override
    {
        ++writes;
        return MemoryStore::write(change);
    }
    int writes = 0;
};

struct Memory {
    CountingStore* store = new CountingStore;
    LearnerRecord record{std::unique_ptr<RecordStore>(store)};
};

std::vector<std::string> dueNames(const LearnerRecord& record, const std::string& today)
{
    std::vector<std::string> names;
    for (const auto& q : record.due(today))
        names.push_back(q.screen + ":" + std::to_string(q.question));
    return names;
}

TEST(RecordDays, CountAcrossMonthsYearsAndLeapDays)
{
    EXPECT_EQ(addDays("2025-04-30", 1), "2025-05-01");
    EXPECT_EQ(addDays("2024-12-25", 14), "2025-01-08");
    EXPECT_EQ(addDays("2024-02-28", 1), "2024-02-29");
    EXPECT_EQ(addDays("2025-02-28", 1), "2025-03-01");
    EXPECT_TRUE(isDay("2024-02-29"));
    EXPECT_FALSE(isDay("2025-02-29"));
    EXPECT_FALSE(isDay("2025-4-01"));
    EXPECT_FALSE(isDay("tomorrow"));
    EXPECT_TRUE(isDay(localToday()));
    EXPECT_EQ(dayOf("2025-04-01 10:00:00"), "2025-04-01");
}

TEST(RecordProgress, CountsFirstTriesPerVisitAndTheFurthestStep)
{
    Memory m;
    auto& r = m.record;
    EXPECT_EQ(progressSummary(r.progress("Form3")), "未学習");
    r.entered("Form3", "2025-04-01 10:00:00");
    EXPECT_EQ(progressSummary(r.progress("Form3")), "進行中");
    r.answered("Form3", 4, 2, false, "2025-04-01 10:01:00");
    r.answered("Form3", 4, 1, true, "2025-04-01 10:01:05");
    r.answered("Form3", 8, 1, true, "2025-04-01 10:02:00");
    r.answered("Form3", 12, 3, true, "2025-04-01 10:03:00");
    r.reached("Form3", 14, 40, false);
    r.reached("Form3", 6, 40, false);
    auto p = r.progress("Form3");
    EXPECT_EQ(p.reached, 14);
    EXPECT_EQ(p.last, 40);
    EXPECT_EQ(p.firstTryAsked, 3);
    EXPECT_EQ(p.firstTryRight, 2);
    EXPECT_EQ(progressSummary(p), "進行中・第３問まで");

    std::vector<bool> firstTries;
    for (const auto& a : m.store->answers())
        firstTries.push_back(a.firstTry);
    EXPECT_EQ(firstTries, (std::vector<bool>{true, false, true, true}));

    // A new visit: a question's latest first try counts.
    r.entered("Form3", "2025-04-02 09:00:00");
    r.answered("Form3", 4, 1, true, "2025-04-02 09:01:00");
    r.answered("Form3", 8, 2, false, "2025-04-02 09:02:00");
    r.reached("Form3", 40, 40, true);
    r.reached("Form3", 2, 40, false);
    p = r.progress("Form3");
    EXPECT_TRUE(p.finished) << "finished stays finished";
    EXPECT_EQ(p.reached, 40);
    EXPECT_EQ(p.lastVisit, "2025-04-02 09:00:00");
    EXPECT_EQ(progressSummary(p), "完了・初回正答 2/3");
    EXPECT_EQ(r.answerCount(), 6);

    auto summary = [](bool finished, int right, int asked) {
        ScreenProgress p;
        p.finished = finished;
        p.firstTryRight = right;
        p.firstTryAsked = asked;
        return progressSummary(p);
    };
    EXPECT_EQ(summary(true, 0, 0), "完了");
    EXPECT_EQ(summary(false, 7, 12), "進行中・第１２問まで");
    EXPECT_EQ(summary(true, 7, 9), "完了・初回正答 7/9");
    EXPECT_EQ(fullWidthNumber(1905), "１９０５");

    // Steps reached again write nothing.
    int writes = m.store->writes;
    r.reached("Form3", 40, 40, true);
    r.reached("Form3", 12, 40, false);
    EXPECT_EQ(m.store->writes, writes);
}

TEST(RecordSchedule, AMissWaitsInBoxOneAndMovesUpWithEachRightReview)
{
    Memory m;
    auto& r = m.record;
    r.answered("Form3", 4, 1, true, "2025-04-01 10:00:00");
    EXPECT_EQ(r.box("Form3", 4), std::nullopt) << "right answers are not reviewed";
    r.answered("Form3", 6, 2, false, "2025-04-01 10:01:00");
    EXPECT_EQ(r.box("Form3", 6), 1);
    EXPECT_EQ(dueNames(r, "2025-04-01"), std::vector<std::string>{"Form3:6"});

    // Right each time it is due: boxes 2 to 5, 1, 3, 7 and 14 days apart, then out.
    std::string day = "2025-04-01";
    for (int box = 2; box <= 5; ++box) {
        r.reviewed("Form3", 6, true, day);
        EXPECT_EQ(r.box("Form3", 6), box);
        std::string next = addDays(day, ReviewDays[box]);
        EXPECT_TRUE(r.due(day).empty());
        EXPECT_TRUE(r.due(addDays(next, -1)).empty());
        EXPECT_EQ(r.nextDue(day), next);
        ASSERT_EQ(r.due(next).size(), 1u);
        EXPECT_EQ(r.due(next)[0].box, box);
        day = next;
    }
    EXPECT_EQ(day, "2025-04-26");
    r.reviewed("Form3", 6, true, day);
    EXPECT_EQ(r.box("Form3", 6), std::nullopt);
    EXPECT_TRUE(r.due("2099-01-01").empty());
    EXPECT_EQ(r.nextDue(day), std::nullopt);
    EXPECT_TRUE(m.store->load().reviews.empty());
}

TEST(RecordSchedule, AMissSendsAQuestionBackToBoxOneAtTheEndOfTheDay)
{
    Memory m;
    auto& r = m.record;
    r.answered("Form5", 10, 1, false, "2025-04-01 10:00:00");
    r.answered("Form3", 4, 1, false, "2025-04-02 10:00:00");
    r.answered("Quiz", 3, 2, false, "2025-04-02 10:05:00");
    EXPECT_EQ(dueNames(r, "2025-04-02"),
              (std::vector<std::string>{"Form5:10", "Form3:4", "Quiz:3"}));
    EXPECT_EQ(dueNames(r, "2025-04-01"), std::vector<std::string>{"Form5:10"});

    // Missed again in review: box 1, due at once, after the others.
    r.reviewed("Form5", 10, false, "2025-04-03");
    EXPECT_EQ(r.box("Form5", 10), 1);
    EXPECT_EQ(dueNames(r, "2025-04-03"),
              (std::vector<std::string>{"Form3:4", "Quiz:3", "Form5:10"}));

    // Up to box 3, then missed on its lesson: back to box 1.
    r.reviewed("Form3", 4, true, "2025-04-03");
    r.reviewed("Form3", 4, true, "2025-04-04");
    EXPECT_EQ(r.box("Form3", 4), 3);
    r.answered("Form3", 4, 2, false, "2025-04-05 08:00:00");
    EXPECT_EQ(r.box("Form3", 4), 1);
    EXPECT_EQ(r.due("2025-04-05").back().due, "2025-04-05");

    // The same order after reading the store back.
    LearnerRecord again(std::make_unique<MemoryStore>(*m.store));
    EXPECT_EQ(dueNames(again, "2025-04-05"), dueNames(r, "2025-04-05"));

    EXPECT_TRUE(r.clear());
    EXPECT_TRUE(r.due("2099-01-01").empty());
    EXPECT_EQ(r.progress("Form3").firstTryAsked, 0);
}

} // namespace
} // namespace quillory
