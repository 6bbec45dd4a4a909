// Calendars as other programs write them, read as of a fixed moment with
// the local zone set to Berlin.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "ical/calendar_plan.h"

namespace plorix::ical {
namespace {

class CalendarPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) saved_ = tz;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override {
        if (saved_.empty())
            unsetenv("TZ");
        else
            setenv("TZ", saved_.c_str(), 1);
        tzset();
    }
    CalendarPlan plan(const std::string& sample) {
        std::ifstream in(std::string(PLORIX_ICAL_SAMPLES) + "/" + sample);
        std::ostringstream text;
        text << in.rdbuf();
        auto result = planCalendar(text.str(), now);
        EXPECT_TRUE(result.has_value()) << sample;
        return result.value_or(CalendarPlan{});
    }
    static const ItemFate& fateOf(const CalendarPlan& plan, const std::string& name) {
        for (const auto& fate : plan.fates)
            if (fate.name == name) return fate;
        ADD_FAILURE() << "no fate for " << name;
        static const ItemFate none;
        return none;
    }
    static std::vector<Moment> runsOf(const CalendarPlan& plan, const std::string& name) {
        std::vector<Moment> out;
        for (const auto& task : plan.tasks)
            if (task.DESCRIPTION == name) out.push_back({task.DATE, task.TIME});
        return out;
    }
    static bool has(const std::vector<Moment>& runs, Moment run) {
        return std::find(runs.begin(), runs.end(), run) != runs.end();
    }

    const Moment now{makeDate(1, 4, 2027), makeTime(12, 0)};  // a Monday
    std::string saved_;
};

TEST_F(CalendarPlanTest, AnotherZoneBecomesLocalRunsAcrossBothDaylightSavingChanges) {
    const CalendarPlan result = plan("new_york_standup.ics");
    const ItemFate& standup = fateOf(result, "New York stand-up");
    EXPECT_EQ(standup.fate, Fate::Runs);
    EXPECT_NE(standup.why.find("time zone"), std::string::npos) << standup.why;
    const auto runs = runsOf(result, "New York stand-up");
    EXPECT_EQ(static_cast<int>(runs.size()), standup.runs);
    EXPECT_EQ(runs.size(), 53u);  // Mondays from 4 January 2027 to 3 January 2028
    // 09:00 in New York: 15:00 here, 14:00 in the two weeks when only New
    // York has moved its clocks, 15:00 again once both have.
    EXPECT_TRUE(has(runs, {makeDate(3, 8, 2027), makeTime(15, 0)}));
    EXPECT_TRUE(has(runs, {makeDate(3, 15, 2027), makeTime(14, 0)}));
    EXPECT_TRUE(has(runs, {makeDate(3, 29, 2027), makeTime(15, 0)}));

    // A zone under another name that keeps local time keeps its pattern.
    const ItemFate& jourFixe = fateOf(result, "Jour fixe");
    EXPECT_EQ(jourFixe.fate, Fate::Pattern) << jourFixe.why;
    const auto& task = result.tasks.back();
    EXPECT_EQ(task.SCHEDULETYPE, "Day of Week");
    EXPECT_EQ(task.WEDNESDAY, 1);
    EXPECT_EQ(task.MONDAY, 0);
    EXPECT_EQ((Moment{task.DATE, task.TIME}), (Moment{makeDate(1, 6, 2027), makeTime(10, 0)}));
    EXPECT_EQ((Moment{task.ADVANCEWARNDATE, task.ADVANCEWARNTIME}),
              (Moment{makeDate(1, 6, 2027), makeTime(9, 45)}));
}

TEST_F(CalendarPlanTest, ExcludedAndReplacedRunsAreLeftOutOrSkipped) {
    const CalendarPlan result = plan("evening_class.ics");
    const ItemFate& lessons = fateOf(result, "Evening class");
    EXPECT_EQ(lessons.fate, Fate::Runs);
    const auto runs = runsOf(result, "Evening class");
    EXPECT_TRUE(has(runs, {makeDate(1, 5, 2027), makeTime(18, 0)}));
    EXPECT_FALSE(has(runs, {makeDate(1, 12, 2027), makeTime(18, 0)}));
    EXPECT_FALSE(has(runs, {makeDate(1, 14, 2027), makeTime(18, 0)}));
    EXPECT_FALSE(has(runs, {makeDate(1, 19, 2027), makeTime(18, 0)}));
    EXPECT_TRUE(has(runs, {makeDate(1, 21, 2027), makeTime(18, 0)}));
    EXPECT_EQ(fateOf(result, "Evening class (moved)").fate, Fate::Pattern);
    EXPECT_EQ(runsOf(result, "Evening class (moved)"),
              (std::vector<Moment>{{makeDate(1, 20, 2027), makeTime(19, 0)}}));

    // A fortnightly rule naming its own weekday is every two weeks.
    EXPECT_EQ(fateOf(result, "Choir").fate, Fate::Pattern);
    EXPECT_EQ(runsOf(result, "Choir"), (std::vector<Moment>{{makeDate(1, 13, 2027), makeTime(19, 30)}}));

    // Only the first coming run left out (and one long past): the pattern
    // stays, with that run skipped.
    EXPECT_EQ(fateOf(result, "Morning walk").fate, Fate::Pattern);
    const auto& walk = result.tasks.back();
    EXPECT_EQ(walk.DESCRIPTION, "Morning walk");
    EXPECT_EQ(walk.SCHEDULETYPE, "Custom");
    EXPECT_EQ(walk.EVERYTYPE, "day(s)");
    EXPECT_EQ(walk.SKIPNEXTTIME, 1);
    EXPECT_EQ((Moment{walk.DATE, walk.TIME}), (Moment{makeDate(1, 5, 2027), makeTime(7, 30)}));
}

TEST_F(CalendarPlanTest, AllDayEventsRunAtMidnightAndToDosBecomeItems) {
    const CalendarPlan result = plan("all_day.ics");
    EXPECT_EQ(fateOf(result, "Anna's birthday").fate, Fate::Pattern);
    EXPECT_EQ(result.tasks.front().SCHEDULETYPE, "Yearly");
    EXPECT_EQ(runsOf(result, "Anna's birthday"), (std::vector<Moment>{{makeDate(3, 15, 2027), kMidnight}}));
    EXPECT_EQ(runsOf(result, "Labour Day"), (std::vector<Moment>{{makeDate(5, 1, 2027), kMidnight}}));
    EXPECT_EQ(result.tasks[1].SCHEDULETYPE, "Once");

    // The 31st of every month: a calendar passes over the short months,
    // the scheduler would carry into the next one.
    const ItemFate& rent = fateOf(result, "Rent check");
    EXPECT_EQ(rent.fate, Fate::Runs);
    const auto rentRuns = runsOf(result, "Rent check");
    EXPECT_EQ(rentRuns.size(), 7u);
    EXPECT_FALSE(has(rentRuns, {makeDate(3, 3, 2027), kMidnight}));

    ASSERT_EQ(result.todos.size(), 2u);
    EXPECT_EQ(result.todos[0].TODO, "File the tax return");
    EXPECT_EQ(result.todos[0].PRIORITY, 1);
    EXPECT_EQ(result.todos[0].DONE, 0);
    EXPECT_EQ(result.todos[0].COMPLETIONDATE, makeDate(5, 31, 2027));
    EXPECT_EQ(result.todos[0].NOTES, "Receipts are in the blue folder");
    EXPECT_EQ(result.todos[1].DONE, 1);
    EXPECT_EQ(result.todos[1].COMPLETIONDATE, makeDate(10, 20, 2026));
    EXPECT_EQ(result.todos[1].COMPLETIONTIME, makeTime(12, 0));
}

TEST_F(CalendarPlanTest, RulesWithoutACounterpartBecomeRunsOrAreSkipped) {
    const CalendarPlan result = plan("unmappable.ics");
    EXPECT_EQ(fateOf(result, "Three-day course").fate, Fate::Runs);
    EXPECT_EQ(runsOf(result, "Three-day course").size(), 3u);
    EXPECT_NE(fateOf(result, "Three-day course").why.find("COUNT"), std::string::npos);

    const auto paydays = runsOf(result, "Payday");
    EXPECT_TRUE(has(paydays, {makeDate(1, 29, 2027), makeTime(12, 0)}));
    EXPECT_TRUE(has(paydays, {makeDate(4, 30, 2027), makeTime(12, 0)}));
    EXPECT_FALSE(has(paydays, {makeDate(2, 26, 2027), makeTime(13, 0)}));
    EXPECT_EQ(paydays.size(), 12u);

    const ItemFate& stretch = fateOf(result, "Stretch");
    EXPECT_EQ(stretch.runs, kMostRunsPerEvent);
    EXPECT_NE(stretch.why.find("only the first 500"), std::string::npos) << stretch.why;

    EXPECT_EQ(fateOf(result, "Past party").fate, Fate::Skipped);
    EXPECT_EQ(fateOf(result, "Cancelled concert").fate, Fate::Skipped);
    EXPECT_TRUE(runsOf(result, "Cancelled concert").empty());
}

TEST(CalendarText, TextWithoutACalendarIsRefused) {
    EXPECT_FALSE(planCalendar("not a calendar", {}).has_value());
    EXPECT_FALSE(planCalendar("", {}).has_value());
}

}  // namespace
}  // namespace plorix::ical
