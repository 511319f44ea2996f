#pragma once
// Where the window may stand: the start-up place and the magnetic screen
// edges. Positions and sizes are in twips, as the settings store them.
#include <cstdint>
#include <optional>

// Twips per logical pixel on both axes (1440 / 96).
inline constexpr std::int32_t kTwipsPerPixel = 15;

struct WindowPlace {
    std::int32_t left; // twips
    std::int32_t top;  // twips
};

// Start-up placement: never further right than R = screen width - window
// width - 120 pixels, never below the top edge.
WindowPlace PlaceAtStartup(std::optional<std::int32_t> savedLeft, std::int32_t savedTop,
                           std::int32_t screenWidthTwips, std::int32_t windowWidthTwips);

// The screen and the window as the snapping tick sees them.
struct SnapGeometry {
    std::int32_t left = 0;   // twips
    std::int32_t top = 0;    // twips
    std::int32_t width = 0;  // twips
    std::int32_t height = 0; // twips
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::int32_t twipsPerPixelX = kTwipsPerPixel;
    std::int32_t twipsPerPixelY = kTwipsPerPixel;
};

// Pixels within which an edge pulls the window flush.
inline constexpr std::int32_t kSnapPixels = 16;

// One snapping tick: the left, top, right and bottom checks in that order,
// each on the place the checks before it left. A window closer than 16
// pixels to an edge, or beyond it, is pulled flush. A window wider than the
// screen ends flush right.
WindowPlace SnapToScreenEdges(const SnapGeometry& g);
