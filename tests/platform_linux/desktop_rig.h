#pragma once
// What the desktop tests share: a check for the X display, unique window
// titles, waiting for a condition, and programs started with their output
// read line by line (our small Qt window among them).

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace plorix::test {

// Skips the calling test when no X display is set.
#define PLORIX_NEED_DISPLAY()                                            \
    do {                                                                 \
        if (!::plorix::test::displaySet()) GTEST_SKIP() << "no DISPLAY"; \
    } while (0)
bool displaySet();

// A title no other test uses: the prefix, this process's id and a count.
std::string uniqueTitle(const std::string& prefix);

// Polls `condition` every 20 ms until it holds or the time is up.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

// The window with exactly this title, once it shows (kNoWindow after the limit).
platform::WindowId waitForWindow(platform::Windows& windows, const std::string& title,
                                 std::chrono::milliseconds limit = std::chrono::seconds(15));

// A program started with pipes on its standard input and output; killed
// at the end of the test if still running.
class Child {
public:
    explicit Child(const std::vector<std::string>& argv);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    int pid() const { return pid_; }
    // The next line that starts with `prefix`, the lines before it dropped;
    // "" with `found` false when none came in time.
    std::string lineStarting(const std::string& prefix, bool* found = nullptr,
                             std::chrono::milliseconds limit = std::chrono::seconds(10));
    void closeInput();
    // Waits for the end; the exit status (128 + signal), -1 when it did not end in time.
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    int pid_ = 0;
    int in_ = -1, out_ = -1;
    std::string buffer_;
    bool ended_ = false;
};

// Our Qt window, started and shown: a title made unique from `prefix`.
struct ShownTestApp {
    std::string title;
    std::unique_ptr<Child> app;
    platform::WindowId id = platform::kNoWindow;  // kNoWindow when it did not show
};
ShownTestApp showTestApp(platform::Windows& windows, const std::string& prefix,
                         const std::string& button = "Cancel");

// Our Qt window titled `title` with a line edit and a button.
std::vector<std::string> testApp(const std::string& title, const std::string& button = "Cancel");
// The test program's path.
std::string testAppPath();

}  // namespace plorix::test
