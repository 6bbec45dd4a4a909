#include "app/frame_tray.h"

#include <QHash>

#include "scheduler/frame_state.h"
#include "ui/qt_text.h"

namespace plorix::app {

using ui::qs;

QIcon trayIcon(std::string_view name) {
    // Loaded once each: the animation asks for an icon on every script step.
    static QHash<QString, QIcon> icons;
    const QString key = qs(name);
    auto found = icons.find(key);
    if (found == icons.end()) found = icons.insert(key, QIcon(QStringLiteral(":/icons/%1.svg").arg(key)));
    return *found;
}

FrameTray::FrameTray(Callbacks callbacks, QObject* parent)
    : QObject(parent), callbacks_(std::move(callbacks)), iconName_(scheduler::kTrayIcon) {
    icon_.setIcon(trayIcon(iconName_));
    icon_.setContextMenu(&menu_);
    connect(&menu_, &QMenu::aboutToShow, this, [this] { rebuildMenu(); });
    connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) &&
            callbacks_.restore)
            callbacks_.restore();
    });
    rebuildMenu();
}

bool FrameTray::available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool FrameTray::show(const QString& tip, std::string_view iconName) {
    if (!available()) return false;
    setIcon(iconName);
    icon_.setToolTip(tip);
    icon_.show();
    return icon_.isVisible();
}

void FrameTray::hide() { icon_.hide(); }

void FrameTray::setIcon(std::string_view iconName) {
    if (iconName == iconName_) return;
    iconName_ = iconName;
    icon_.setIcon(trayIcon(iconName_));
}

void FrameTray::setTip(const QString& tip) { icon_.setToolTip(tip); }

QMenu& FrameTray::menu() {
    rebuildMenu();
    return menu_;
}

void FrameTray::rebuildMenu() {
    menu_.clear();
    const bool running = callbacks_.scriptRunning && callbacks_.scriptRunning();
    for (const TrayChoice& choice : trayChoices(running)) {
        if (choice.text == kSeparator) {
            menu_.addSeparator();
            continue;
        }
        QAction* action = menu_.addAction(qs(choice.text));
        action->setEnabled(!callbacks_.enabled || callbacks_.enabled(choice.command));
        connect(action, &QAction::triggered, this, [this, choice] {
            if (callbacks_.choose) callbacks_.choose(choice);
        });
    }
}

}  // namespace plorix::app
