#pragma once
// What the frame tests share: the Qt application of the test process, a
// data folder with schedule entries, and the frame on a clock the test moves.

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <memory>
#include <string>

#include "app/main_frame.h"
#include "data/tables/schedule.h"
#include "runtime/clock.h"
#include "runtime/date_time.h"
#include "runtime/prompter.h"
#include "support/temp_dir.h"

namespace plorix::app::test {

// The test process's application: on the test desktop when DISPLAY is
// set, offscreen otherwise.
QApplication& testApplication();

// Runs the event loop until `done` holds or `seconds` have passed.
bool processUntil(const std::function<bool()>& done, double seconds = 10);

// The first window the frame keeps beside itself (a reminder) once one
// shows; nullptr when none does within 10 seconds.
QWidget* awaitProgramWindow(const MainFrame& frame);

// A "Once" reminder due at `when`.
data::Schedule reminderEntry(const std::string& description, Moment when, const std::string& message = "");

// Adds entries to the data file of the current folder (opening the
// Schedule table for the moment when nobody holds it).
void addEntries(std::initializer_list<data::Schedule> entries);

// A data folder entered for the test, fresh settings, and a frame on a
// clock that stands at Monday 6 May 2024, 9:00 until the test moves it.
class FrameTest : public ::testing::Test {
protected:
    FrameTest();
    ~FrameTest() override;

    // Builds the frame (after the test has laid out the folder).
    MainFrame& frame();
    void tick() { frame().timer().tickNow(); }

    plorix::test::TempDir dir;
    ManualClock clock;
    RecordingPrompter prompter;

private:
    std::unique_ptr<MainFrame> frame_;
};

}  // namespace plorix::app::test
