#pragma once
// The main window's controls as designed (the Normal layout): place, size,
// caption, colours and font, in pixels. Controls inside the graph are placed
// relative to the graph.
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>

struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class Align { Left, Centre, Right };

struct ControlSpec {
    std::string_view name;
    int left, top, width, height;
    std::string_view caption;
    bool transparent; // no back colour: what lies behind shows through
    Rgb back;
    Rgb fore;
    std::string_view font;
    double points;
    bool bold;
    Align align;
    bool inGraph; // placed relative to picGraph
};

// Pixel size of a font given in points at 96 logical dots per inch
// (8.25 pt is 11 px).
inline int PointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

// Every label of the Normal layout, in design order.
std::span<const ControlSpec> NormalLayoutLabels();
// Looks a control up by name; nullptr when there is none.
const ControlSpec* FindControl(std::string_view name);

// Window and graph geometry of the Normal layout.
inline constexpr int kNormalWidth = 366;
inline constexpr int kNormalHeight = 217;
inline constexpr int kGraphLeft = 0, kGraphTop = 138, kGraphWidth = 366, kGraphHeight = 77;
inline constexpr int kPicTrayLeft = 332, kPicTrayTop = 0, kPicTraySize = 33;
inline constexpr int kImgBottomWidth = 655, kImgBottomHeight = 38;
inline constexpr int kComboLeft = 42, kComboTop = 31, kComboWidth = 457, kComboHeight = 24;
inline constexpr Rgb kPanelBlue{192, 192, 255};

// The Tiny mode's graph: 140 pixels wide with the speed readouts, else 120.
inline constexpr int kTinyWidthBandwidth = 140, kTinyWidth = 120, kTinyHeight = 26;
