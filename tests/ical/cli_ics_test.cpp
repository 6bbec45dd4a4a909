// export-ics and import-ics through the real binary: the round trip keeps a
// year of runs, and a second reader (python3-icalendar with dateutil) finds
// in the exported file the runs the forecast finds.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <iterator>
#include <filesystem>

#include "runtime/date_time.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::test {
namespace {

constexpr int kYear = 360;  // days compared, inside the exported year

std::string isoDate(Date date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", yearOf(date), monthOf(date), dayOf(date));
    return text;
}

Date today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return makeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
}

// The first day after `from` with this day of the month.
Date nextDayOfMonth(Date from, int day) {
    for (Date date = from + 1;; ++date)
        if (dayOf(date) == day) return date;
}

// The lines of `a` that `b` lacks (both sorted), to show what differs.
std::vector<std::string> missingFrom(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<std::string> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

class CliIcs : public ::testing::Test {
protected:
    ProcessResult cli(const std::string& folder, std::vector<std::string> args) {
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", (dir / folder).string()});
        return runProcess(args);
    }
    void add(std::vector<std::string> fields) {
        fields.insert(fields.begin(), {"add", "Schedule", "SCH:TASKTYPE=Display Message"});
        const auto r = cli("desktop", fields);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    // The runs the forecast lists in the compared year, as "moment<TAB>name".
    std::vector<std::string> forecast(const std::string& folder) {
        const auto r = cli(folder, {"forecast", "--from", from + "T00:00", "--count", "1500"});
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> out;
        for (const std::string& line : lines(r.out)) {
            const auto tab = line.find('\t');
            const std::string run = line.substr(tab + 1);
            if (run.ends_with("\tskip") || run.substr(0, 19) > to + " 23:59:59") continue;
            out.push_back(run);
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    void SetUp() override {
        std::filesystem::create_directories(dir / "desktop");
        std::filesystem::create_directories(dir / "laptop");
    }
    // One entry of every kind, from tomorrow on.
    void addSchedule() {
        const Date first = today() + 1;
        from = isoDate(first);
        to = isoDate(first + kYear);
        const auto on = [](Date date) { return "SCH:DATE=" + isoDate(date); };
        add({"SCH:DESCRIPTION=Dentist", "SCH:SCHEDULETYPE=Once", on(first + 2), "SCH:TIME=10:00"});
        add({"SCH:DESCRIPTION=Gym", "SCH:SCHEDULETYPE=Day of Week", "SCH:MONDAY=1", "SCH:WEDNESDAY=1",
             "SCH:FRIDAY=1", on(first), "SCH:TIME=07:15"});
        add({"SCH:DESCRIPTION=Club night", "SCH:SCHEDULETYPE=Day of Month", "SCH:FRIDAY=1", "SCH:EVERY2ND=1",
             "SCH:EVERYLAST=1", on(first), "SCH:TIME=19:00"});
        add({"SCH:DESCRIPTION=First week", "SCH:SCHEDULETYPE=Day of Month", "SCH:EVERY1ST=1", on(first),
             "SCH:TIME=08:00"});
        add({"SCH:DESCRIPTION=Month end", "SCH:SCHEDULETYPE=Day of Month", "SCH:LASTDAYOFMONTH=1", on(first),
             "SCH:TIME=17:00"});
        add({"SCH:DESCRIPTION=Rent", "SCH:SCHEDULETYPE=Monthly", on(nextDayOfMonth(first, 15)),
             "SCH:TIME=09:00"});
        add({"SCH:DESCRIPTION=Payroll", "SCH:SCHEDULETYPE=Monthly", on(nextDayOfMonth(first, 31)),
             "SCH:TIME=09:00"});
        add({"SCH:DESCRIPTION=Anniversary", "SCH:SCHEDULETYPE=Yearly", on(first + 10), "SCH:TIME=12:00"});
        add({"SCH:DESCRIPTION=Stretch", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=930", "SCH:EVERYTYPE=minute(s)",
             on(first), "SCH:TIME=23:30"});
        add({"SCH:DESCRIPTION=Backup", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=7", "SCH:EVERYTYPE=hour(s)",
             on(first), "SCH:TIME=01:00"});
        add({"SCH:DESCRIPTION=Plants", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=3", "SCH:EVERYTYPE=day(s)",
             on(first), "SCH:TIME=18:00", "SCH:SKIPNEXTTIME=1"});
        add({"SCH:DESCRIPTION=Bins", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=2", "SCH:EVERYTYPE=week(s)",
             on(first + 1), "SCH:TIME=06:30"});
        add({"SCH:DESCRIPTION=Haircut", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=2", "SCH:EVERYTYPE=month(s)",
             on(nextDayOfMonth(first, 20)), "SCH:TIME=16:00",
             "SCH:ADVANCEWARNDATE=" + isoDate(nextDayOfMonth(first, 20)), "SCH:ADVANCEWARNTIME=15:45"});
        add({"SCH:DESCRIPTION=Market", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=1", "SCH:EVERYTYPE=week(s)",
             on(first + (6 - weekdayOf(first))), "SCH:TIME=08:00", "SCH:EXCEPTWEEKENDS=1",
             "SCH:SHIFTTYPE=Next Day"});
        add({"SCH:DESCRIPTION=Quiet hours", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=12",
             "SCH:EVERYTYPE=hour(s)", on(first), "SCH:TIME=10:00", "SCH:EXCEPTTIME=1",
             "SCH:EXCEPTTIMEBEGIN=20:00", "SCH:EXCEPTTIMEEND=23:00"});
        add({"SCH:DESCRIPTION=Old", "SCH:SCHEDULETYPE=Day of Week", "SCH:SUNDAY=1", on(first),
             "SCH:TIME=11:00", "SCH:DISABLED=1"});
    }
    TempDir dir{false};
    std::string from;
    std::string to;
};

TEST_F(CliIcs, ExportedScheduleImportsBackWithTheSameYearOfRuns) {
    addSchedule();
    const std::string file = (dir / "schedule.ics").string();
    const auto exported = cli("desktop", {"export-ics", file});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "");
    // Exactly the entries no rule expresses are named, then the count.
    const auto named = lines(exported.err);
    ASSERT_EQ(named.size(), 4u) << exported.err;
    EXPECT_EQ(named[3], "15 events exported");
    EXPECT_TRUE(named[0].starts_with("plorix-cli: Payroll: ")) << named[0];
    EXPECT_TRUE(named[1].starts_with("plorix-cli: Market: ")) << named[1];
    EXPECT_TRUE(named[2].starts_with("plorix-cli: Quiet hours: ")) << named[2];
    const std::string text = dir.read("schedule.ics");
    EXPECT_NE(text.find("RRULE:FREQ=MONTHLY;BYDAY=2FR,-1FR"), std::string::npos);
    EXPECT_NE(text.find("TRIGGER:-PT15M"), std::string::npos);
    EXPECT_EQ(text.find("SUMMARY:Old"), std::string::npos);

    const auto imported = cli("laptop", {"import-ics", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.err.find("Gym: imported as pattern (Day of Week)"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("Payroll: imported as 12 run(s)"), std::string::npos) << imported.err;

    const auto original = forecast("desktop");
    EXPECT_GT(original.size(), 2000u);
    const auto copy = forecast("laptop");
    EXPECT_EQ(missingFrom(original, copy), std::vector<std::string>{});
    EXPECT_EQ(missingFrom(copy, original), std::vector<std::string>{});
}

TEST_F(CliIcs, AnIndependentReaderExpandsTheFileToTheForecast) {
    addSchedule();
    const std::string file = (dir / "schedule.ics").string();
    ASSERT_EQ(cli("desktop", {"export-ics", file}).status, 0);
    const auto expanded =
        runProcess({"/usr/bin/python3", PLORIX_ICAL_EXPAND, file, from + "T00:00:00", to + "T23:59:59"});
    ASSERT_EQ(expanded.status, 0) << expanded.err;
    std::vector<std::string> runs = lines(expanded.out);
    std::sort(runs.begin(), runs.end());
    const auto original = forecast("desktop");
    EXPECT_EQ(missingFrom(original, runs), std::vector<std::string>{});
    EXPECT_EQ(missingFrom(runs, original), std::vector<std::string>{});
}

TEST_F(CliIcs, NothingIsWrittenForAFileThatHoldsNoCalendar) {
    dir.write("notes.ics", "BEGIN:VCALENDAR\r\nthis is not finished");
    const auto r = cli("laptop", {"import-ics", (dir / "notes.ics").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("nothing was imported"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir / "laptop"));
    EXPECT_EQ(cli("laptop", {"export-ics", (dir / "out.ics").string()}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.ics"));
}

}  // namespace
}  // namespace plorix::test
