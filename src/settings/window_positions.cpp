#include "settings/window_positions.h"

#include <string>

#include "runtime/ini_file.h"

namespace plorix::settings {

void saveWindowPosition(WindowGeometryAccess& window, std::string_view section, std::string_view iniFile) {
    const bool maximized = window.isMaximized();
    if (maximized) window.showNormal();
    if (window.isMinimized()) return;
    IniFile ini{std::string(iniFile)};
    const WindowGeometry g = window.geometry();
    ini.putString(section, "Maximize", maximized ? "Yes" : "No");
    ini.putInt(section, "XPosit", g.x);
    ini.putInt(section, "YPosit", g.y);
    ini.putInt(section, "Width", g.width);
    ini.putInt(section, "Height", g.height);
}

void restoreWindowPosition(WindowGeometryAccess& window, std::string_view section, std::string_view iniFile) {
    const IniFile ini{std::string(iniFile)};
    const int x = ini.getInt(section, "XPosit", 0);
    if (x == 0) return;
    const int y = ini.getInt(section, "YPosit", 0);
    if (!window.isMaximized() && y != 0) {
        if (window.isResizable()) {
            const int width = ini.getInt(section, "Width", 0);
            const int height = ini.getInt(section, "Height", 0);
            if (width != 0 && height != 0) window.setGeometry({x, y, width, height});
        } else {
            window.move(x, y);
        }
    }
    if (ini.getString(section, "Maximize") == "Yes") window.maximize();
}

}  // namespace plorix::settings
