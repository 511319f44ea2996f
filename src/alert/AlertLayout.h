#pragma once
// Where slide-in alerts stand and how they move: the logic of the alert
// windows, apart from the widgets.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The stacking slot 1 to 4 for a new alert, from the tags of every open alert
// (the new one's included): the lowest slot no tag holds, else (count mod 4) + 1.
int FindFreeSlot(const std::vector<std::string>& tags);

// The system sound of a sound code.
std::string_view AlertSoundName(std::int32_t code);

struct AlertRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const AlertRect&) const = default;
};

// The panel in pixels (137 x 113) and the first height of a sliding alert.
inline constexpr int kAlertWidth = 137;
inline constexpr int kAlertHeight = 113;
inline constexpr int kAlertStartHeight = 6; // 90 twips
inline constexpr int kAlertEndHeight = 8;   // 120 twips: slid out

// The first place of an alert in slot (1 to 4), given the screen's area free
// of panels: its right edge 13 px inside the area's, its bottom edge at the
// bottom of a full-screen window's client area (the area less a caption) plus
// 290 twips, one alert height higher per slot.
AlertRect AlertStartRect(int slot, int areaLeft, int areaTop, int areaWidth, int areaHeight);

// The pixels moved per pass to cover distance in passes: at least one, so
// every slide ends.
int SlideStep(int distance, int passes);

// The message as the label shows it: a carriage return and line feed is one
// line break.
std::string AlertText(std::string_view message);
