#include "placement/WindowPlacement.h"

#include <algorithm>

WindowPlace PlaceAtStartup(std::optional<std::int32_t> savedLeft, std::int32_t savedTop,
                           std::int32_t screenWidthTwips, std::int32_t windowWidthTwips) {
    const std::int32_t rightMost = screenWidthTwips - windowWidthTwips - 120 * kTwipsPerPixel;
    // A saved place far off the screen (a garbled file) is brought back to
    // within one screen width, where the window can still be seen and dragged.
    const std::int32_t lowest = -screenWidthTwips;
    return WindowPlace{std::clamp(savedLeft.value_or(rightMost), std::min(lowest, rightMost), rightMost),
                       std::clamp(savedTop, std::min(lowest, 0), 0)};
}

WindowPlace SnapToScreenEdges(const SnapGeometry& g) {
    WindowPlace place{g.left, g.top};
    if (g.twipsPerPixelX <= 0 || g.twipsPerPixelY <= 0) {
        return place;
    }
    // Whole pixels, the quotient cut toward zero: a window up to 15 twips
    // beyond the edge counts as pixel 0 and is pulled in too.
    if (place.left / g.twipsPerPixelX < kSnapPixels) {
        place.left = 0;
    }
    if (place.top / g.twipsPerPixelY < kSnapPixels) {
        place.top = 0;
    }
    const float right = static_cast<float>(place.left) + static_cast<float>(g.width);
    if (right > static_cast<float>(g.screenWidth) - static_cast<float>(kSnapPixels * g.twipsPerPixelX)) {
        place.left = g.screenWidth - g.width;
    }
    const float bottom = static_cast<float>(place.top) + static_cast<float>(g.height);
    if (bottom > static_cast<float>(g.screenHeight) - static_cast<float>(kSnapPixels * g.twipsPerPixelY)) {
        place.top = g.screenHeight - g.height;
    }
    return place;
}
