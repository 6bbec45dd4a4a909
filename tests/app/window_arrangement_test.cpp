// The Window menu's arrangements as geometry.

#include "app/window_arrangement.h"

#include <gtest/gtest.h>

namespace plorix::app {
namespace {

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(WindowArrangement, TileFillsTheAreaWithoutOverlapForAnyCount) {
    const Rect area{0, 30, 1280, 990};
    EXPECT_TRUE(tile(area, 0).empty());
    EXPECT_EQ(tile(area, 1), (std::vector<Rect>{area}));
    for (int count = 2; count <= 10; ++count) {
        const std::vector<Rect> placed = tile(area, count);
        ASSERT_EQ(placed.size(), static_cast<std::size_t>(count));
        long long covered = 0;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const Rect& r = placed[i];
            EXPECT_GE(r.x, area.x);
            EXPECT_GE(r.y, area.y);
            EXPECT_LE(r.x + r.width, area.x + area.width);
            EXPECT_LE(r.y + r.height, area.y + area.height);
            covered += static_cast<long long>(r.width) * r.height;
            for (std::size_t j = i + 1; j < placed.size(); ++j) EXPECT_FALSE(overlap(r, placed[j])) << count;
        }
        // Nothing but rounding is left uncovered.
        EXPECT_GT(covered, static_cast<long long>(area.width) * area.height * 98 / 100) << count;
    }
}

TEST(WindowArrangement, CascadeStepsDownAndStartsAgainAtTheEdge) {
    const Rect area{10, 20, 900, 600};
    const std::vector<Rect> placed = cascade(area, 12, 30);
    EXPECT_EQ(placed[0], (Rect{10, 20, 600, 400}));
    EXPECT_EQ(placed[1], (Rect{40, 50, 600, 400}));
    for (const Rect& r : placed) {
        EXPECT_LE(r.x + r.width, area.x + area.width);
        EXPECT_LE(r.y + r.height, area.y + area.height);
    }
    EXPECT_EQ(placed[7].x, 10);  // 7 steps of 30 would pass the bottom edge
}

TEST(WindowArrangement, ArrangeKeepsSizesAndWrapsRows) {
    const Rect area{0, 0, 1000, 800};
    const std::vector<Rect> placed =
        arrange(area, {{0, 0, 400, 300}, {0, 0, 500, 200}, {0, 0, 300, 100}, {0, 0, 1200, 50}});
    EXPECT_EQ(placed, (std::vector<Rect>{
                          {0, 0, 400, 300}, {400, 0, 500, 200}, {0, 300, 300, 100}, {0, 400, 1200, 50}}));
}

}  // namespace
}  // namespace plorix::app
