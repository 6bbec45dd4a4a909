#pragma once
// What the application frame shows, as its timer tick leaves it: the title,
// the status bar zones, the toolbar's script mark, the tray icon and its tip,
// and the timer's period. The window copies these into its widgets after
// every tick; nothing here knows about widgets.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "data/tables/schedule.h"
#include "runtime/date_time.h"

namespace plorix::scheduler {

inline constexpr std::string_view kInactiveSuffix = " (Inactive)";
inline constexpr std::string_view kInactiveStatus = "Inactive";
inline constexpr std::string_view kNextPrefix = "Next: ";
inline constexpr std::string_view kScriptRunningMark = "*";
inline constexpr std::string_view kRestoreTip = "Double-click here to restore";

// Timer periods in hundredths of a second.
inline constexpr int kOpeningPeriod = 100;
inline constexpr int kScriptPeriod = 50;
inline constexpr int kActivePeriod = 125;
inline constexpr int kInactivePeriod = 250;

// The tray icon while idle, and its phases while a script runs.
inline constexpr std::string_view kTrayIcon = "tray_ico";
inline constexpr std::array<std::string_view, 4> kAnimationIcons = {"tray_ico", "trayb_ico", "trayc_ico",
                                                                    "trayd_ico"};

inline constexpr std::size_t kOneShotWidth = 20;
inline constexpr std::size_t kTrayTipWidth = 63;  // the tip holds 64 characters with its end mark

// "Plorix 98 1.7a"
std::string productTitle();

// The period a frame opens with: a stored period outside 1..100 becomes 100.
int openingPeriod(int stored);

// The title while the frame is iconized: the next task with its moment.
std::string iconizedTitle(const data::Schedule& next);

// Status zones 3 and 4: "Thursday, OCT 31,1959" and "5:30PM".
std::string dateZone(Date today);
std::string timeZone(Time now);

struct FrameState {
    std::string title = productTitle();
    std::string statusNext;   // zone 2: the next task, "Inactive", script progress, a one-shot text
    std::string statusDate;   // zone 3
    std::string statusTime;   // zone 4
    std::string toolbarMark;  // "*" while a script is queued
    std::string trayTip = std::string(kRestoreTip);
    std::string currentIcon = std::string(kTrayIcon);
    std::string frameIcon = std::string(kTrayIcon);
    int animationStep = 1;  // 1..4
    int timerPeriod = kOpeningPeriod;
    bool scriptStepped = false;  // the script stepper ran in this tick
    // What an idle frame may sleep until: the next run and the next advance
    // warning as the tick read them. `steady` is set when the next tick must
    // come after timerPeriod whatever is due: the tick did work (more may be
    // due at once), a script runs, a monitor polls, or the scheduler is
    // inactive or could not read.
    std::optional<Moment> nextRun;
    std::optional<Moment> nextWarning;
    bool steady = true;
    // The clipboard monitor is told of every copy, so it need not poll.
    bool clipboardTold = false;
    // Set by the frame's window:
    bool active = true;
    bool iconized = false;
    bool trayShown = false;
};

// The browses that want to hear when their table has changed under them
// (for the schedule: a task fired, a window, a receive or another station
// changed it). Browses register from their own windows; notifying calls
// each one.
class BrowseRegistry {
public:
    using Refresh = std::function<void()>;
    int add(Refresh refresh);  // an identifier for remove()
    void remove(int id);
    void notifyAll();
    std::size_t size() const;

private:
    mutable std::mutex mutex_;
    std::map<int, Refresh> browses_;
    int next_ = 1;
};

}  // namespace plorix::scheduler
