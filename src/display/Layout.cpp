#include "Layout.h"

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kMidBlue{128, 128, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kBlue{0, 0, 255};

constexpr std::array<ControlSpec, 18> kLabels{{
    {"lblTitle(0)", 32, 0, 255, 29, "Trafalo", true, kBlack, kNavy, "Verdana", 18, true, Align::Centre,
     false},
    {"lblTitle(5)", -1, 34, 190, 26, " Net:", false, kPanelBlue, kBlack, "Tahoma", 12, true, Align::Left,
     false},
    {"frmOverlap", -1, 54, 384, 3, "", false, kPanelBlue, kBlack, "Tahoma", 8.25, false, Align::Left, false},
    {"lblTitle(1)", 0, 56, 192, 18, "Bytes Received", false, kPanelBlue, kBlack, "Tahoma", 8.25, true,
     Align::Centre, false},
    {"lblTitle(2)", 194, 56, 172, 18, "Bytes Sent", false, kPanelBlue, kBlack, "Tahoma", 8.25, true,
     Align::Centre, false},
    {"lblRecv", 0, 75, 192, 23, "", false, kBlack, kGreen, "Verdana", 14.25, false, Align::Right, false},
    {"lblSent", 192, 75, 171, 23, "", false, kBlack, kCyan, "Verdana", 14.25, false, Align::Right, false},
    {"lblTitle(3)", 1, 98, 192, 15, "Download Speed", false, kMidBlue, kBlack, "Tahoma", 8.25, true,
     Align::Centre, false},
    {"lblTitle(4)", 194, 98, 169, 15, "Upload Speed", false, kMidBlue, kBlack, "Tahoma", 8.25, true,
     Align::Centre, false},
    {"lblDSpeed", 0, 114, 192, 23, "", false, kBlack, kGreen, "Verdana", 14.25, false, Align::Right, false},
    {"lblUSpeed", 193, 114, 170, 23, "", false, kBlack, kCyan, "Verdana", 14.25, false, Align::Right, false},
    {"lblSpeed(0)", 6, 6, 103, 13, "Top download speed:", true, kBlack, kYellow, "Tahoma", 8.25, false,
     Align::Left, true},
    {"lblSpeed(1)", 6, 21, 89, 13, "Top upload speed:", true, kBlack, kCyan, "Tahoma", 8.25, false,
     Align::Left, true},
    {"lblSpeed(2)", 6, 41, 153, 13, "Average download speed:", true, kBlack, kYellow, "Tahoma", 8.25, false,
     Align::Left, true},
    {"lblSpeed(3)", 6, 56, 112, 13, "Average upload speed:", true, kBlack, kCyan, "Tahoma", 8.25, false,
     Align::Left, true},
    {"lblIPShadow", 157, 19, 202, 25, "", true, kBlack, kWhite, "Tahoma", 15, true, Align::Right, true},
    {"lblIP", 159, 21, 202, 25, "", true, kBlack, kGrey, "Tahoma", 15, true, Align::Right, true},
    {"lblCredit", 258, 62, 102, 12, "made for the desktop", true, kBlack, kBlue, "Arial", 6.75, false,
     Align::Left, true},
}};

} // namespace

std::span<const ControlSpec> NormalLayoutLabels() {
    return kLabels;
}

const ControlSpec* FindControl(std::string_view name) {
    for (const ControlSpec& control : kLabels) {
        if (control.name == name) {
            return &control;
        }
    }
    return nullptr;
}
