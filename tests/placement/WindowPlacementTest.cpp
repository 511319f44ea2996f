// The magnetic screen edges of the snapping tick.
#include "placement/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

struct SnapCase {
    const char* what;
    std::int32_t left, top, width, height;  // pixels
    std::int32_t leftTwipsExtra;            // twips added to the left position
    std::int32_t expectedLeft, expectedTop; // pixels
};

TEST(SnapToScreenEdges, PullsTheWindowFlushWithinSixteenPixels) {
    // A 1280 x 800 screen.
    const SnapCase cases[] = {
        {"left 15 snaps", 15, 300, 140, 26, 0, 0, 300},
        {"left 16 stays", 16, 300, 140, 26, 0, 16, 300},
        {"left beyond the edge", -40, 300, 140, 26, 0, 0, 300},
        {"15 twips beyond the left edge cut to pixel 0", 0, 300, 140, 26, -14, 0, 300},
        {"top 15 snaps", 500, 15, 140, 26, 0, 500, 0},
        {"top -200 comes back", 500, -200, 140, 26, 0, 500, 0},
        {"right edge 16 from the right stays", 1280 - 16 - 140, 300, 140, 26, 0, 1124, 300},
        {"right edge 15 from the right snaps", 1280 - 15 - 140, 300, 140, 26, 0, 1140, 300},
        {"beyond the right edge", 1250, 300, 140, 26, 0, 1140, 300},
        {"bottom 16 stays", 500, 800 - 16 - 26, 140, 26, 0, 500, 758},
        {"bottom 15 snaps", 500, 800 - 15 - 26, 140, 26, 0, 500, 774},
        {"below the bottom", 500, 790, 140, 26, 0, 500, 774},
        {"wider than the screen ends flush right", 300, 300, 1400, 26, 0, -120, 300},
        {"corner: both edges", 3, 5, 366, 217, 0, 0, 0},
        {"Normal window in the middle stays", 400, 300, 366, 217, 0, 400, 300},
    };
    for (const SnapCase& c : cases) {
        SnapGeometry g;
        g.left = c.left * 15 + c.leftTwipsExtra;
        g.top = c.top * 15;
        g.width = c.width * 15;
        g.height = c.height * 15;
        g.screenWidth = 1280 * 15;
        g.screenHeight = 800 * 15;
        const WindowPlace place = SnapToScreenEdges(g);
        EXPECT_EQ(place.left, c.expectedLeft * 15) << c.what;
        EXPECT_EQ(place.top, c.expectedTop * 15) << c.what;
    }
}

TEST(SnapToScreenEdges, CutsTheQuotientTowardZero) {
    // 239 twips is 15.93 pixels: pixel 15, so it snaps; 240 is pixel 16.
    SnapGeometry g{239, 3000, 140 * 15, 26 * 15, 1280 * 15, 800 * 15, 15, 15};
    EXPECT_EQ(SnapToScreenEdges(g).left, 0);
    g.left = 240;
    EXPECT_EQ(SnapToScreenEdges(g).left, 240);
}

} // namespace
