#pragma once
// The Window menu's arrangements of the program's own windows (reminders,
// browses, help) within the screen's work area: Tile side by side in a
// grid, Cascade down and to the right, Arrange at their own sizes in rows.
// Plain geometry, so the rules are tested without windows.

#include <vector>

namespace plorix::app {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A grid of about as many columns as rows filling the area.
std::vector<Rect> tile(const Rect& area, int count);
// Each window two-thirds of the area, each one `step` further down and to
// the right; back to the corner when the next would leave the area.
std::vector<Rect> cascade(const Rect& area, int count, int step);
// The windows at their own sizes, left to right in rows from the top left,
// a new row when the next would pass the area's right edge.
std::vector<Rect> arrange(const Rect& area, const std::vector<Rect>& windows);

}  // namespace plorix::app
