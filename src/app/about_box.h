#pragma once
// The about box, opened from the Help menu and the tray menu.

#include <QDialog>

namespace plorix::app {

class AboutBox final : public QDialog {
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

// Shows the box and waits until it is closed.
void showAboutBox(QWidget* parent);

}  // namespace plorix::app
