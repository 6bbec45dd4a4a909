#include "app/window_arrangement.h"

#include <algorithm>
#include <cmath>

namespace plorix::app {

std::vector<Rect> tile(const Rect& area, int count) {
    std::vector<Rect> placed;
    if (count <= 0) return placed;
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    const int height = area.height / rows;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        // The last row shares its width among the windows left.
        const int inRow = row == rows - 1 ? count - row * columns : columns;
        const int width = area.width / inRow;
        const int column = i % columns;
        placed.push_back({area.x + column * width, area.y + row * height, width, height});
    }
    return placed;
}

std::vector<Rect> cascade(const Rect& area, int count, int step) {
    std::vector<Rect> placed;
    const int width = area.width * 2 / 3;
    const int height = area.height * 2 / 3;
    int offset = 0;
    for (int i = 0; i < count; ++i) {
        if (offset + width > area.width || offset + height > area.height) offset = 0;
        placed.push_back({area.x + offset, area.y + offset, width, height});
        offset += step;
    }
    return placed;
}

std::vector<Rect> arrange(const Rect& area, const std::vector<Rect>& windows) {
    std::vector<Rect> placed;
    int x = 0, y = 0, rowHeight = 0;
    for (const Rect& window : windows) {
        if (x > 0 && x + window.width > area.width) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        placed.push_back({area.x + x, area.y + y, window.width, window.height});
        x += window.width;
        rowHeight = std::max(rowHeight, window.height);
    }
    return placed;
}

}  // namespace plorix::app
