#pragma once
// The popup menu as data. Each feature adds the items it owns into their
// places of the design; the builder lays them out in design order with the
// separators between them, for one opening. Each item carries what choosing
// it does, so that its name is written once. The window turns the tree into
// a real menu.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What choosing an item does, with its index in an indexed group (else -1).
using MenuCommand = std::function<void(std::int16_t index)>;

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
    MenuCommand run; // an item's command; none for a submenu or a separator
};

// A plain item, and a toggled one with its check mark, each with its command.
MenuNode MenuItem(std::string name, std::string caption, MenuCommand run, bool visible = true);
MenuNode MenuToggle(std::string name, std::string caption, bool checked, MenuCommand run,
                    bool visible = true);
// A submenu; its items go into children.
MenuNode MenuSubmenu(std::string name, std::string caption, bool visible = true);

// An item's caption for a text that is not the program's own (an interface
// name): "&" shows as itself instead of marking an access key.
std::string MenuCaptionOf(std::string_view text);

class MenuBuilder {
public:
    // Adds an item (with its submenu, if any) into the place of the design
    // named like it; the items of an indexed group go in the order added.
    void add(MenuNode node);
    // The tree for one opening: the root's items and the Display Mode
    // submenu's in design order, with their separators. A separator shows
    // between items that do (MBAR2 only while the window is visible, the one
    // before the tray picture pair only while it is hidden).
    MenuNode build(bool windowVisible) const;
    // Names added that have no place in the design, or items without a
    // command: a programming error.
    const std::vector<std::string>& Misplaced() const { return m_misplaced; }

private:
    template <std::size_t N>
    void fillLevel(MenuNode& menu, const std::array<std::string_view, N>& order, bool windowVisible) const;

    std::vector<MenuNode> m_items;
    std::vector<std::string> m_misplaced;
};

// The About box's text: name, major and minor version as plain integers, the
// credit line and the maker's page.
std::string AboutText(int major, int minor);

// The maker's page, opened by the credit label and the About box.
inline constexpr std::string_view kMakerAddress = "https://example.org/trafalo";
inline constexpr std::string_view kCreditLine = "A small traffic widget for the desktop.";
