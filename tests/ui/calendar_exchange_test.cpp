// File > Import and File > Export: Calendar (.ics): what the user is told
// once the file has been chosen.

#include <gtest/gtest.h>

#include "data/process_tables.h"
#include "support/temp_dir.h"
#include "ui/exchange/calendar_exchange.h"

namespace plorix::ui {
namespace {

class CalendarExchangeTest : public ::testing::Test {
protected:
    void TearDown() override { data::resetProcessTables(); }
    // Twenty-one appointments far ahead and one to-do.
    void writeCalendar() {
        std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Example//Organizer//EN\r\n";
        for (int day = 1; day <= 21; ++day) {
            text += "BEGIN:VEVENT\r\nUID:a" + std::to_string(day) +
                    "@example.com\r\nDTSTAMP:20261201T000000Z\r\n"
                    "DTSTART:209903" +
                    (day < 10 ? "0" : "") + std::to_string(day) +
                    "T090000\r\n"
                    "SUMMARY:Appointment " +
                    std::to_string(day) + "\r\nEND:VEVENT\r\n";
        }
        text +=
            "BEGIN:VTODO\r\nUID:t@example.com\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:Call "
            "back\r\nEND:VTODO\r\n";
        dir.write("plans.ics", text + "END:VCALENDAR\r\n");
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
};

TEST_F(CalendarExchangeTest, ImportTellsTheFateOfTwentyItemsAndCountsTheRest) {
    writeCalendar();
    importCalendarFrom((dir / "plans.ics").string(), prompter);
    ASSERT_EQ(prompter.shown().size(), 1u);
    const auto& shown = prompter.shown().front();
    EXPECT_EQ(shown.title, "Import Calendar");
    EXPECT_EQ(shown.icon, Icon::Information);
    EXPECT_TRUE(
        shown.text.starts_with("22 tasks and to-do items imported.\n\nWhat became of each:\n"
                               "Appointment 1: imported as pattern (Once)\n"))
        << shown.text;
    EXPECT_TRUE(shown.text.ends_with("\nAppointment 20: imported as pattern (Once)\n... and 2 more"))
        << shown.text;

    prompter.clear();
    exportCalendarTo((dir / "back.ics").string(), prompter);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown().front().text, "21 events exported.");
}

TEST_F(CalendarExchangeTest, AFileThatCannotBeReadOrWrittenIsAWarning) {
    dir.write("notes.ics", "just some notes");
    importCalendarFrom((dir / "notes.ics").string(), prompter);
    exportCalendarTo((dir / "no such folder" / "out.ics").string(), prompter);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Warning);
    EXPECT_NE(prompter.shown()[0].text.find("holds no calendar; nothing was imported"), std::string::npos);
    EXPECT_EQ(prompter.shown()[1].title, "Export Calendar");
    EXPECT_EQ(prompter.shown()[1].icon, Icon::Warning);
    EXPECT_TRUE(prompter.shown()[1].text.starts_with("Cannot write ")) << prompter.shown()[1].text;
}

}  // namespace
}  // namespace plorix::ui
