#include "alert/AlertLayout.h"

#include <charconv>

namespace {

constexpr int kSlots = 4;
constexpr int kCaptionHeight = 19;   // a window caption at the usual density
constexpr int kBelowClientArea = 19; // 290 twips
constexpr int kRightMargin = 13;     // 200 twips

} // namespace

int FindFreeSlot(const std::vector<std::string>& tags) {
    std::string taken(kSlots, ' ');
    for (const std::string& tag : tags) {
        int slot = 0;
        const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), slot);
        if (error == std::errc() && end == tag.data() + tag.size() && slot >= 1 && slot <= kSlots) {
            taken[static_cast<std::size_t>(slot - 1)] = tag[0];
        }
    }
    const std::size_t free = taken.find(' ');
    if (free != std::string::npos) {
        return static_cast<int>(free) + 1;
    }
    return static_cast<int>(tags.size() % kSlots) + 1;
}

std::string_view AlertSoundName(std::int32_t code) {
    switch (code) {
    case 101:
        return "SystemAsterisk";
    case 102:
        return "SystemExclamation";
    case 103:
        return "SystemQuestion";
    default:
        return "SystemHand";
    }
}

AlertRect AlertStartRect(int slot, int areaLeft, int areaTop, int areaWidth, int areaHeight) {
    const int clientBottom = areaTop + areaHeight - kCaptionHeight;
    const int bottom = clientBottom + kBelowClientArea - (slot - 1) * kAlertHeight;
    return {areaLeft + areaWidth - kAlertWidth - kRightMargin, bottom - kAlertStartHeight, kAlertWidth,
            kAlertStartHeight};
}

int SlideStep(int distance, int passes) {
    if (passes < 1 || distance <= passes) {
        return 1;
    }
    return (distance + passes - 1) / passes;
}

std::string AlertText(std::string_view message) {
    std::string text;
    text.reserve(message.size());
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
            continue;
        }
        text.push_back(message[i]);
    }
    return text;
}
