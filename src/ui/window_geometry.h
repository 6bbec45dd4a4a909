#pragma once
// Window positions for Qt windows: a WindowGeometryAccess over a QWidget, and
// a helper that restores a window's place when it is set up and saves it each
// time the program hides or closes it.

#include <QRect>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

#include "settings/window_positions.h"

namespace plorix::ui {

// Positions are those of the client area (QWidget::geometry), so what is
// saved is what setGeometry puts back.
class WidgetGeometry final : public settings::WindowGeometryAccess {
public:
    explicit WidgetGeometry(QWidget& widget) : widget_(widget) {}
    bool isMaximized() const override;
    bool isMinimized() const override;
    bool isResizable() const override;
    settings::WindowGeometry geometry() const override;
    void setGeometry(const settings::WindowGeometry& geometry) override;
    void move(int x, int y) override;
    void maximize() override;
    void showNormal() override;

private:
    QWidget& widget_;
    // The window manager leaves a maximised window for its normal place only
    // later, so the normal rectangle is taken when the state is dropped.
    std::optional<QRect> normal_;
};

void restoreWidgetPosition(QWidget& widget, std::string_view section,
                           std::string_view iniFile = settings::kPositionIni);
void saveWidgetPosition(QWidget& widget, std::string_view section,
                        std::string_view iniFile = settings::kPositionIni);

// Restores the window's position now (call it once the window is built,
// before it is shown) and saves it whenever the program hides or closes the
// window; a minimise is not a hide and saves nothing.
void rememberPosition(QWidget& widget, std::string section,
                      std::string iniFile = std::string(settings::kPositionIni));

}  // namespace plorix::ui
