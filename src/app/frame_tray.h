#pragma once
// The frame's notification-area icon: shown while the frame is hidden in
// the tray, with the tip naming the next task, the four-phase animation of
// a running script, and its pop-up menu (rebuilt each time it opens, so
// "&Stop Running Script" is there exactly while a script runs).

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <string>
#include <string_view>

#include "app/frame_commands.h"

namespace plorix::app {

// The icon of that name ("tray_ico", "trayb_ico" ...) from the program's resources.
QIcon trayIcon(std::string_view name);

class FrameTray final : public QObject {
public:
    struct Callbacks {
        std::function<bool()> scriptRunning;
        std::function<bool(FrameCommand)> enabled;
        std::function<void(const TrayChoice&)> choose;
        std::function<void()> restore;  // a left click or double-click on the icon
    };
    explicit FrameTray(Callbacks callbacks, QObject* parent = nullptr);

    // Whether a tray host is there to take the icon.
    static bool available();
    // Adds the icon; false when no tray host takes it.
    bool show(const QString& tip, std::string_view iconName);
    void hide();
    bool shown() const { return icon_.isVisible(); }
    void setIcon(std::string_view iconName);
    void setTip(const QString& tip);
    QString tip() const { return icon_.toolTip(); }
    const std::string& iconName() const { return iconName_; }

    // The pop-up menu as it is offered now.
    QMenu& menu();

private:
    void rebuildMenu();

    Callbacks callbacks_;
    QSystemTrayIcon icon_;
    QMenu menu_;
    std::string iconName_;
};

}  // namespace plorix::app
