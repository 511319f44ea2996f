#pragma once
// The popup menu as data: every item of the tree in design order, with the
// visibility, check marks and captions of one opening. The window turns the
// tree into a real menu; the rules live here so they can be tested alone.
#include "app/AppSettings.h"
#include "net/InterfaceSelection.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct MenuNode {
    std::string name;        // the item's name, e.g. "mnuPopupHide"
    std::int16_t index = -1; // position in an indexed group, else -1
    std::string caption;     // "&" marks the access key; empty for a separator
    bool separator = false;
    bool visible = true;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    bool isDefault = false; // drawn bold; the item a double click would pick
    std::vector<MenuNode> children;
};

// What one opening of the menu depends on.
struct MenuState {
    bool windowVisible = true;
    bool altHeld = false;
    std::array<bool, 3> windowTypeChecked{};
    Options options;
    std::string excludedDriveLetters;
    std::vector<InterfaceSelection::MenuItem> netCards;
    bool killProcessesVisible = false;
    std::string killProcessesCaption = "Kill Processes";
};

// True when the modifier keys held at a click belong to another mouse action
// (Ctrl, or Shift), so the menu must not open.
inline bool MenuBlockedByKeys(bool ctrl, bool shift) {
    return ctrl || shift;
}

// The whole tree for one opening; the root's children are the menu's items.
MenuNode PreparePopupMenu(const MenuState& state);

// The About box's text: name, major and minor version as plain integers, the
// credit line and the maker's page.
std::string AboutText(int major, int minor);

// The maker's page, opened by the credit label and the About box.
inline constexpr std::string_view kMakerAddress = "https://example.org/trafalo";
inline constexpr std::string_view kCreditLine = "A small traffic widget for the desktop.";
