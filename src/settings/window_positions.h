#pragma once
// Window positions: every window restores its place and size from its own
// section of ".\POSITION.INI" when it opens and saves them when it closes.
// The windows themselves implement WindowGeometryAccess.

#include <string_view>

namespace plorix::settings {

inline constexpr std::string_view kPositionIni = ".\\POSITION.INI";

struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class WindowGeometryAccess {
public:
    virtual ~WindowGeometryAccess() = default;
    virtual bool isMaximized() const = 0;
    virtual bool isMinimized() const = 0;
    virtual bool isResizable() const = 0;
    // The position and size of the window in its normal (not maximised) state.
    virtual WindowGeometry geometry() const = 0;
    virtual void setGeometry(const WindowGeometry& geometry) = 0;
    virtual void move(int x, int y) = 0;  // keeps the size
    virtual void maximize() = 0;
    virtual void showNormal() = 0;  // out of the maximised state
};

// Keys "Maximize" ("Yes"/"No"), "XPosit", "YPosit", "Width", "Height".
// A minimised window leaves what is stored unchanged.
void saveWindowPosition(WindowGeometryAccess& window, std::string_view section,
                        std::string_view iniFile = kPositionIni);
// Nothing happens while "XPosit" is 0 or absent: the window stays where the
// desktop put it.
void restoreWindowPosition(WindowGeometryAccess& window, std::string_view section,
                           std::string_view iniFile = kPositionIni);

}  // namespace plorix::settings
