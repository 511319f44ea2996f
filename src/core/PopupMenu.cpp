#include "core/PopupMenu.h"

#include <algorithm>
#include <array>

namespace {

// The design order: "-" names a separator; "mnuDisplayTypes" is the submenu
// laid out from kDisplayOrder.
constexpr std::array<std::string_view, 19> kRootOrder = {"mnuPopupHide",
                                                         "mnuDisplayTypes",
                                                         "mnuNetCards",
                                                         "-MBAR4",
                                                         "mnuEjectAllUSB",
                                                         "mnuExcludeDrives",
                                                         "mnuToggleMute",
                                                         "mnuToggleTaskbar",
                                                         "-MBAR3",
                                                         "mnuFreeMem",
                                                         "mnuTaskManager",
                                                         "mnuKillProcesses",
                                                         "mnuPopupAlwaysOnTop",
                                                         "-MBAR2",
                                                         "mnuPopupStartWithWindows",
                                                         "-MBAR1",
                                                         "mnuPopupAbout",
                                                         "-MBAR0",
                                                         "mnuPopupExit"};
constexpr std::array<std::string_view, 12> kDisplayOrder = {"mnuWindowType",
                                                            "-mnuDisplaySep1",
                                                            "mnuPopupTransparent",
                                                            "mnuPopupSound",
                                                            "-mnuDisplaySep2",
                                                            "mnuShowExtendedButton",
                                                            "mnuShowBandwidth",
                                                            "mnuBattery",
                                                            "mnuShowRealIP",
                                                            "-mnuDisplaySep3",
                                                            "mnuSystemTrayIconTypeDigital",
                                                            "mnuSystemTrayIconTypeAnalog"};

template <std::size_t N> bool placed(const std::array<std::string_view, N>& order, std::string_view name) {
    return std::find(order.begin(), order.end(), name) != order.end();
}

MenuNode separator(std::string_view name, bool visible) {
    MenuNode node;
    node.name = std::string(name);
    node.separator = true;
    node.visible = visible;
    return node;
}

} // namespace

MenuNode MenuSubmenu(std::string name, std::string caption, bool visible) {
    MenuNode node;
    node.name = std::move(name);
    node.caption = std::move(caption);
    node.visible = visible;
    return node;
}

MenuNode MenuItem(std::string name, std::string caption, MenuCommand run, bool visible) {
    MenuNode node = MenuSubmenu(std::move(name), std::move(caption), visible);
    node.run = std::move(run);
    return node;
}

MenuNode MenuToggle(std::string name, std::string caption, bool checked, MenuCommand run, bool visible) {
    MenuNode node = MenuItem(std::move(name), std::move(caption), std::move(run), visible);
    node.checkable = true;
    node.checked = checked;
    return node;
}

std::string MenuCaptionOf(std::string_view text) {
    std::string caption;
    for (const char c : text) {
        caption += c;
        if (c == '&') {
            caption += '&';
        }
    }
    return caption;
}

namespace {

// Whether every item of the tree has its command.
bool commanded(const MenuNode& node) {
    if (node.separator) {
        return true;
    }
    if (node.children.empty()) {
        return static_cast<bool>(node.run);
    }
    return std::all_of(node.children.begin(), node.children.end(), commanded);
}

} // namespace

void MenuBuilder::add(MenuNode node) {
    if (node.name.empty() || (!placed(kRootOrder, node.name) && !placed(kDisplayOrder, node.name)) ||
        node.name == "mnuDisplayTypes" || !commanded(node)) {
        m_misplaced.push_back(node.name);
        return;
    }
    m_items.push_back(std::move(node));
}

MenuNode MenuBuilder::build(bool windowVisible) const {
    MenuNode root = MenuSubmenu("mnuPopup", "");
    fillLevel(root, kRootOrder, windowVisible);
    return root;
}

template <std::size_t N>
void MenuBuilder::fillLevel(MenuNode& menu, const std::array<std::string_view, N>& order,
                            bool windowVisible) const {
    for (const std::string_view slot : order) {
        if (slot.front() == '-') {
            const std::string_view name = slot.substr(1);
            const bool visible = name == "MBAR2"            ? windowVisible
                                 : name == "mnuDisplaySep3" ? !windowVisible
                                                            : true;
            menu.children.push_back(separator(name, visible));
        } else if (slot == "mnuDisplayTypes") {
            MenuNode display = MenuSubmenu("mnuDisplayTypes", "Display Mode");
            fillLevel(display, kDisplayOrder, windowVisible);
            menu.children.push_back(std::move(display));
        } else {
            for (const MenuNode& item : m_items) {
                if (item.name == slot) {
                    menu.children.push_back(item);
                }
            }
        }
    }
}

std::string AboutText(int major, int minor) {
    return "Trafalo v" + std::to_string(major) + "." + std::to_string(minor) + "\r\n" +
           std::string(kCreditLine) + "\r\n\r\n" + std::string(kMakerAddress);
}
