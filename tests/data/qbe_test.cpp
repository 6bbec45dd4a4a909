// Query by example: match types per field kind, the tests of values, whole
// queries on records, where a search starts and tagging what it finds.

#include <gtest/gtest.h>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/qbe_query.h"
#include "data/tables.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

TEST(QbeMatchTypes, EachKindOffersItsOwnTypes) {
    EXPECT_EQ(matchTypeInfo(kContains)->text, "Contains this");
    EXPECT_EQ(matchTypeInfo(kOutsideRange)->symbolFontCode, 0xE0);
    EXPECT_EQ(matchTypeInfo(kSameYearAndMonth)->symbol, "Y");
    EXPECT_EQ(matchTypeInfo(18), nullptr);
    EXPECT_EQ(matchTypeWindowTitle(QbeKind::Picture), "Match Type for PICTURE Field");
    EXPECT_EQ(offeredMatchTypes(QbeKind::String).size(), 13u);
    EXPECT_EQ(offeredMatchTypes(QbeKind::Picture).back(), kEndsWith);
    EXPECT_TRUE(offers(QbeKind::Date, kSameMonth));
    EXPECT_FALSE(offers(QbeKind::Date, kBeginsWith));
    EXPECT_TRUE(offers(QbeKind::Text, kBeginsWith));
    EXPECT_FALSE(offers(QbeKind::Text, kMoreThan));
    EXPECT_FALSE(offers(QbeKind::Number, kBeginsWith));
    EXPECT_TRUE(offers(QbeKind::Check, kNotEquals));
    EXPECT_FALSE(offers(QbeKind::Option, kMoreThan));
}

struct TextCase {
    int type;
    const char* value;
    const char* query;
    const char* upper;
    bool passes;
};

TEST(QbeStrings, ValuesAreComparedInCapitalsByEachMatchType) {
    const TextCase cases[] = {
        {kContains, "Monthly report", "REPORT", "", true},
        {kContains, "REPORTS", "REPORT", "", true},
        {kContains, "Repot", "REPORT", "", false},
        {kNotContains, "Monthly report", "REPORT", "", false},
        {kEquals, "Report", "REPORT", "", true},
        {kEquals, "Reports", "REPORT", "", false},  // a shorter query does not equal
        {kEquals, "  Report", "REPORT", "", true},  // the value left-aligned
        {kNotEquals, "  Report", "REPORT", "", false},
        {kNotEquals, "Reports", "REPORT", "", true},
        {kMoreThan, "b", "A", "", true},
        {kMoreThan, "a", "A", "", false},
        {kAtLeast, "a", "A", "", true},
        {kLessThan, "a", "B", "", true},
        {kAtMost, "c", "B", "", false},
        {kBeginsWith, "Backup daily", "BACK", "", true},
        {kBeginsWith, "Back", "BACKUP", "", false},
        {kEndsWith, "Backup daily", "DAILY", "", true},
        {kEndsWith, "Backup daily", "BACKUP", "", false},
        // Ranges compare the value's first characters with each limit.
        {kInsideRange, "Delta", "B", "D", true},
        {kInsideRange, "Echo", "B", "D", false},
        {kInsideRange, "Alpha", "B", "D", false},
        {kOutsideRange, "Echo", "B", "D", true},
        {kOutsideRange, "Charlie", "B", "D", false},
        {kIgnoreField, "anything", "ELSE", "", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testString(c.type, c.value, c.query, c.upper), c.passes)
            << c.type << " '" << c.value << "' '" << c.query << "'";
    }
}

TEST(QbeStrings, LongTextsTestTheirOwnTypesAndPassTheRest) {
    const TextCase cases[] = {
        {kEquals, "Call home", "CALL HOME", "", true},
        {kNotEquals, "Call home", "CALL HOME", "", false},
        {kBeginsWith, "Call home", "CALL", "", true},
        {kBeginsWith, "  Call home", "CALL", "", false},
        {kEndsWith, "Call home", "HOME", "", true},
        {kEndsWith, "Call home", "CALL", "", false},
        {kContains, "Call home now", "HOME", "", true},
        {kNotContains, "Call home now", "HOME", "", false},
        {kMoreThan, "a", "Z", "", true},  // not offered for long texts
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testText(c.type, c.value, c.query, c.upper), c.passes) << c.type << " '" << c.value << "'";
    }
}

TEST(QbeNumbers, NumbersAndDatesByEachMatchType) {
    EXPECT_TRUE(testNumber(kEquals, 5, 5, 0));
    EXPECT_TRUE(testNumber(kNotEquals, 5, 6, 0));
    EXPECT_TRUE(testNumber(kMoreThan, 6, 5, 0));
    EXPECT_FALSE(testNumber(kLessThan, 5, 5, 0));
    EXPECT_TRUE(testNumber(kAtMost, 5, 5, 0));
    EXPECT_TRUE(testNumber(kInsideRange, 10, 10, 20));
    EXPECT_TRUE(testNumber(kInsideRange, 20, 10, 20));
    EXPECT_FALSE(testNumber(kInsideRange, 21, 10, 20));
    EXPECT_TRUE(testNumber(kOutsideRange, 9, 10, 20));
    EXPECT_FALSE(testNumber(kOutsideRange, 15, 10, 20));
    // Begins with: the same run of `upper` numbers, or without one the shown text.
    EXPECT_TRUE(testNumber(kBeginsWith, 1234, 1200, 100));
    EXPECT_FALSE(testNumber(kBeginsWith, 1334, 1200, 100));
    EXPECT_TRUE(testNumber(kBeginsWith, 1234, 12, 0));
    EXPECT_FALSE(testNumber(kBeginsWith, 2123, 12, 0));
    EXPECT_TRUE(testNumber(kEndsWith, 1234, 34, 0));
    EXPECT_FALSE(testNumber(kEndsWith, 1234, 35, 0));
    // The texts compared are the numbers as their picture shows them.
    EXPECT_TRUE(testNumber(kEndsWith, 12345, 345, 0, "n7"));

    const Date day = makeDate(6, 15, 1998);
    EXPECT_TRUE(testNumber(kSameYear, day, makeDate(1, 2, 1998), 0));
    EXPECT_FALSE(testNumber(kSameYear, makeDate(1, 1, 1999), makeDate(1, 2, 1998), 0));
    EXPECT_TRUE(testNumber(kSameMonth, day, makeDate(6, 1, 2004), 0));
    EXPECT_TRUE(testNumber(kSameDayOfMonth, day, makeDate(3, 15, 2004), 0));
    EXPECT_TRUE(testNumber(kSameMonthAndDay, day, makeDate(6, 15, 2030), 0));
    EXPECT_FALSE(testNumber(kSameMonthAndDay, day, makeDate(6, 16, 1998), 0));
    EXPECT_TRUE(testNumber(kSameYearAndMonth, day, makeDate(6, 30, 1998), 0));
    EXPECT_FALSE(testNumber(kSameYearAndMonth, day, makeDate(6, 30, 1997), 0));
    EXPECT_FALSE(testNumber(kSameYear, 0, day, 0));  // no date is in no year
}

TEST(QbeRanges, AnUpperLimitNotAboveTheLowerOneCannotBeConfirmed) {
    EXPECT_EQ(settleUpperLimit("10", "5"), "10");
    EXPECT_EQ(settleUpperLimit("10", "50"), "50");
    EXPECT_EQ(settleUpperLimit("M", "C"), "C");  // texts are left as entered
    EXPECT_FALSE(rangeAccepted("10", "10"));
    EXPECT_FALSE(rangeAccepted("10", "9.5"));
    EXPECT_TRUE(rangeAccepted("9", "10"));  // as numbers, not as texts
    EXPECT_FALSE(rangeAccepted("M", "C"));
    EXPECT_TRUE(rangeAccepted("C", "M"));
}

class QbeQuery : public ::testing::Test {
protected:
    void SetUp() override {
        openTable(schedule, prompter);
        const struct {
            int id;
            const char* name;
            Date date;
        } tasks[] = {
            {1, "Monthly report", makeDate(12, 31, 1997)}, {2, "REPORTS", makeDate(1, 1, 1998)},
            {3, "Backup", makeDate(7, 4, 1998)},           {4, "Weekly report", makeDate(12, 31, 1998)},
            {5, "Pay rent", makeDate(1, 1, 1999)},
        };
        for (const auto& t : tasks) {
            store::clearRecord(schedule.schema(), schedule.buffer());
            schedule.rec<Schedule>().ID = t.id;
            schedule.rec<Schedule>().DESCRIPTION = t.name;
            schedule.rec<Schedule>().DATE = t.date;
            ASSERT_EQ(schedule.add(), store::kNoError);
        }
    }
    void TearDown() override {
        resetTagState();
        resetProcessTables();
    }
    Query query(const std::vector<Criterion>& criteria) {
        std::string problem;
        auto q = Query::build(Schedule::schema(), criteria, &problem);
        EXPECT_TRUE(q.has_value()) << problem;
        return q ? *q : *Query::build(Schedule::schema(), {});
    }
    // The identifiers of the records read by `key` from the query's start that pass.
    std::vector<int> found(const Query& q, const char* key, bool fromStartOnly = false) {
        std::vector<int> ids;
        const int k = schedule.schema().keyIndex(key);
        q.startScan(schedule, k);
        while (schedule.next() == store::kNoError) {
            if (fromStartOnly || q.passes(schedule.buffer())) ids.push_back(schedule.rec<Schedule>().ID);
        }
        return ids;
    }

    test::TempDir dir;
    RecordingPrompter prompter;
    store::Table schedule{Schedule::schema()};
};

TEST_F(QbeQuery, ARecordPassesWhenEveryFieldDoes) {
    const Query contains = query({{"SCH:DESCRIPTION", kContains, "report"}});
    EXPECT_EQ(found(contains, "SCH:KEYID"), (std::vector<int>{1, 2, 4}));
    const Query both =
        query({{"SCH:DESCRIPTION", kContains, "report"}, {"SCH:DATE", kSameYear, "1998-03-03"}});
    EXPECT_EQ(found(both, "SCH:KEYID"), (std::vector<int>{2, 4}));
    // A date entered by the field's picture.
    const Query shown = query({{"SCH:DATE", kSameYear, "OCT 31,1998", "", std::nullopt, "d3"}});
    EXPECT_EQ(found(shown, "SCH:KEYID"), (std::vector<int>{2, 3, 4}));
    const Query none = query({});
    EXPECT_EQ(found(none, "SCH:KEYID").size(), 5u);
}

TEST_F(QbeQuery, QueriesThatCannotBeAskedAreRefusedWithTheReason) {
    std::string problem;
    EXPECT_FALSE(Query::build(Schedule::schema(), {{"SCH:NOSUCH", kEquals, "x"}}, &problem));
    EXPECT_NE(problem.find("SCH:NOSUCH"), std::string::npos);
    EXPECT_FALSE(Query::build(Schedule::schema(), {{"SCH:DATE", kBeginsWith, "1998-01-01"}}, &problem));
    EXPECT_NE(problem.find("DATE field SCH:DATE"), std::string::npos) << problem;
    EXPECT_FALSE(Query::build(Schedule::schema(), {{"SCH:DATE", kEquals, "1998-02-30"}}, &problem));
    EXPECT_FALSE(Query::build(Schedule::schema(), {{"SCH:ID", kInsideRange, "1", "x"}}, &problem));
    // A memo searched as a long text; a number field as a picture.
    EXPECT_TRUE(Query::build(Schedule::schema(), {{"SCH:MESSAGE", kBeginsWith, "x"}}));
    EXPECT_TRUE(Query::build(Schedule::schema(), {{"SCH:ID", kEndsWith, "1", "", QbeKind::Picture}}));
}

TEST_F(QbeQuery, TheScanStartsWhereTheFirstFieldLetsItWhenItLeadsTheKey) {
    auto firstRead = [&](const std::vector<Criterion>& c, const char* key) {
        const auto ids = found(query(c), key, true);
        return ids.empty() ? 0 : ids.front();
    };
    EXPECT_EQ(firstRead({{"SCH:DATE", kSameYear, "1998-07-01"}}, "SCH:KEYDATE"), 2);
    EXPECT_EQ(firstRead({{"SCH:DATE", kSameYearAndMonth, "1998-12-25"}}, "SCH:KEYDATE"), 4);
    EXPECT_EQ(firstRead({{"SCH:DATE", kAtLeast, "1998-07-04"}}, "SCH:KEYDATE"), 3);
    EXPECT_EQ(firstRead({{"SCH:DATE", kInsideRange, "1998-07-05", "1999-01-01"}}, "SCH:KEYDATE"), 4);
    EXPECT_EQ(firstRead({{"SCH:DATE", kLessThan, "1998-07-04"}}, "SCH:KEYDATE"), 1);
    EXPECT_EQ(firstRead({{"SCH:DATE", kSameMonth, "1998-07-04"}}, "SCH:KEYDATE"), 1);
    EXPECT_EQ(firstRead({{"SCH:DESCRIPTION", kBeginsWith, "pay"}}, "SCH:KEYTASKNAME"), 5);
    EXPECT_EQ(firstRead({{"SCH:DESCRIPTION", kEquals, "REPORTS"}}, "SCH:KEYTASKNAME"), 2);
    // Not the key's leading field: the whole key is read.
    EXPECT_EQ(firstRead({{"SCH:DATE", kSameYear, "1998-07-01"}}, "SCH:KEYTASKNAME"), 3);
    // And the records passing are the same either way.
    const Query year = query({{"SCH:DATE", kSameYear, "1998-07-01"}});
    EXPECT_EQ(found(year, "SCH:KEYDATE"), (std::vector<int>{2, 3, 4}));
}

TEST_F(QbeQuery, MatchingRecordsAreTaggedAndUntaggedInSteps) {
    const Query reports = query({{"SCH:DESCRIPTION", kContains, "REPORT"}});
    QueryTagging select(prompter, schedule, keys::Schedule::KEYTASKNAME, reports, 7, "SCH:ID", true);
    while (select.step()) {}
    EXPECT_EQ(select.matched(), 3);
    EXPECT_EQ(select.error(), store::kNoError);
    EXPECT_EQ(countTags(prompter, 7), 3);
    EXPECT_TRUE(isTagged(prompter, 7, 4));
    EXPECT_FALSE(isTagged(prompter, 7, 3));

    const Query monthly = query({{"SCH:DESCRIPTION", kBeginsWith, "MONTHLY"}});
    QueryTagging unselect(prompter, schedule, 0, monthly, 7, "SCH:ID", false);
    while (unselect.step()) {}
    EXPECT_FALSE(isTagged(prompter, 7, 1));
    EXPECT_EQ(countTags(prompter, 7), 2);
}

}  // namespace
}  // namespace plorix::data
