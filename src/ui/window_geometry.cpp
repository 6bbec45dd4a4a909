#include "ui/window_geometry.h"

#include <QEvent>
#include <QObject>

namespace plorix::ui {

bool WidgetGeometry::isMaximized() const { return widget_.isMaximized(); }

bool WidgetGeometry::isMinimized() const { return widget_.isMinimized(); }

bool WidgetGeometry::isResizable() const { return widget_.minimumSize() != widget_.maximumSize(); }

settings::WindowGeometry WidgetGeometry::geometry() const {
    QRect r = widget_.geometry();
    if (normal_) {
        r = *normal_;
    } else if (widget_.isMaximized() && widget_.normalGeometry().isValid()) {
        r = widget_.normalGeometry();
    }
    return {r.x(), r.y(), r.width(), r.height()};
}

void WidgetGeometry::setGeometry(const settings::WindowGeometry& g) {
    widget_.setGeometry(g.x, g.y, g.width, g.height);
}

void WidgetGeometry::move(int x, int y) { widget_.setGeometry(x, y, widget_.width(), widget_.height()); }

void WidgetGeometry::maximize() {
    // Setting the state (rather than showMaximized) works before the window is shown.
    widget_.setWindowState(widget_.windowState() | Qt::WindowMaximized);
}

void WidgetGeometry::showNormal() {
    if (!widget_.isMaximized()) return;
    const QRect normal = widget_.normalGeometry();
    if (normal.isValid()) normal_ = normal;
    widget_.setWindowState(widget_.windowState() & ~Qt::WindowMaximized);
}

void restoreWidgetPosition(QWidget& widget, std::string_view section, std::string_view iniFile) {
    WidgetGeometry access(widget);
    settings::restoreWindowPosition(access, section, iniFile);
}

void saveWidgetPosition(QWidget& widget, std::string_view section, std::string_view iniFile) {
    WidgetGeometry access(widget);
    settings::saveWindowPosition(access, section, iniFile);
}

namespace {

// Lives as a child of the window it watches, so it goes with it.
class PositionKeeper final : public QObject {
public:
    PositionKeeper(QWidget& widget, std::string section, std::string iniFile)
        : QObject(&widget), widget_(widget), section_(std::move(section)), iniFile_(std::move(iniFile)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // close() and QDialog::done() both end in a hide the program asked
        // for; the desktop's own hides (minimising) arrive spontaneous.
        if (watched != &widget_ || event->spontaneous()) return false;
        if (event->type() == QEvent::Hide) {
            saveWidgetPosition(widget_, section_, iniFile_);
            hidden_ = true;
        } else if (event->type() == QEvent::Show && hidden_) {
            // A window shown again (a dialog kept for reuse) returns to its
            // stored place, maximised if it was.
            restoreWidgetPosition(widget_, section_, iniFile_);
        }
        return false;
    }

private:
    QWidget& widget_;
    std::string section_;
    std::string iniFile_;
    bool hidden_ = false;
};

}  // namespace

void rememberPosition(QWidget& widget, std::string section, std::string iniFile) {
    restoreWidgetPosition(widget, section, iniFile);
    widget.installEventFilter(new PositionKeeper(widget, std::move(section), std::move(iniFile)));
}

}  // namespace plorix::ui
