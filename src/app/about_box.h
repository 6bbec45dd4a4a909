#pragma once
// The about box, opened from the Help menu and the tray menu. While the
// window monitor is switched on it leads to the log of window titles.

#include <QDialog>
#include <functional>

class QPushButton;

namespace plorix::app {

class AboutBox final : public QDialog {
public:
    // What exec() answers when the log of window titles is asked for.
    static constexpr int kOpenWindowLog = 2;

    explicit AboutBox(bool withWindowLog = false, QWidget* parent = nullptr);

    QPushButton* windowLogButton() const { return windowLog_; }

private:
    QPushButton* windowLog_ = nullptr;
};

// Shows the box and waits until it is closed; then opens the log of window
// titles with `openWindowLog` when the user asked for it.
void showAboutBox(QWidget* parent, const std::function<void()>& openWindowLog = {});

}  // namespace plorix::app
