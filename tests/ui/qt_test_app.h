#pragma once
// One QApplication for a test program, on Qt's offscreen platform unless
// QT_QPA_PLATFORM names another (the test desktop's "xcb").

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

namespace plorix::test {

class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[8] = "plorix";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Runs the event loop for `milliseconds` (timers fire, deferred deletes run).
inline void runEvents(int milliseconds = 0) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the event loop until `done` holds or `milliseconds` have passed (a
// real window manager answers a change of state a little later); whether
// it holds.
template <typename Predicate>
bool waitUntil(Predicate done, int milliseconds = 2000) {
    for (int waited = 0; !done(); waited += 20) {
        if (waited >= milliseconds) return false;
        runEvents(20);
    }
    return true;
}

}  // namespace plorix::test
