// The popup menu laid out from the items features add, in design order.
#include "core/PopupMenu.h"

#include <gtest/gtest.h>

namespace {

// The visible items of a menu level as "caption" lines; "-" for separators,
// "[x]" before a checked item, "*" before the default one.
std::vector<std::string> shown(const MenuNode& menu) {
    std::vector<std::string> lines;
    for (const MenuNode& item : menu.children) {
        if (!item.visible) {
            continue;
        }
        if (item.separator) {
            lines.emplace_back("-");
            continue;
        }
        lines.push_back(std::string(item.isDefault ? "*" : "") + (item.checked ? "[x]" : "") + item.caption);
    }
    return lines;
}

const MenuCommand kNothing = [](std::int16_t) {};

// The items of the whole design, added in an order of their own.
MenuBuilder everything() {
    MenuBuilder menu;
    menu.add(MenuItem("mnuPopupExit", "Exit", kNothing));
    menu.add(MenuToggle("mnuSystemTrayIconTypeAnalog", "Analog tray icon", true, kNothing));
    menu.add(MenuToggle("mnuSystemTrayIconTypeDigital", "Digital tray icon", false, kNothing));
    for (std::int16_t i = 0; i < 3; ++i) {
        MenuNode mode = MenuToggle("mnuWindowType", "mode " + std::to_string(i), i == 2, kNothing);
        mode.index = i;
        menu.add(std::move(mode));
    }
    for (const char* name :
         {"mnuPopupTransparent", "mnuPopupSound", "mnuShowExtendedButton", "mnuShowBandwidth", "mnuBattery",
          "mnuShowRealIP", "mnuNetCards", "mnuEjectAllUSB", "mnuExcludeDrives", "mnuToggleMute",
          "mnuToggleTaskbar", "mnuFreeMem", "mnuTaskManager", "mnuKillProcesses", "mnuPopupAlwaysOnTop",
          "mnuPopupStartWithWindows", "mnuPopupAbout"}) {
        menu.add(MenuItem(name, name, kNothing));
    }
    MenuNode hide = MenuItem("mnuPopupHide", "Hide to System Tray", kNothing);
    hide.isDefault = true;
    menu.add(std::move(hide));
    return menu;
}

TEST(MenuBuilder, LaysTheItemsOutInDesignOrder) {
    const MenuBuilder menu = everything();
    EXPECT_TRUE(menu.Misplaced().empty());
    const MenuNode visible = menu.build(true);
    EXPECT_EQ(shown(visible),
              (std::vector<std::string>{"*Hide to System Tray", "Display Mode", "mnuNetCards", "-",
                                        "mnuEjectAllUSB", "mnuExcludeDrives", "mnuToggleMute",
                                        "mnuToggleTaskbar", "-", "mnuFreeMem", "mnuTaskManager",
                                        "mnuKillProcesses", "mnuPopupAlwaysOnTop", "-",
                                        "mnuPopupStartWithWindows", "-", "mnuPopupAbout", "-", "Exit"}));
    EXPECT_EQ(shown(visible.children[1]),
              (std::vector<std::string>{"mode 0", "mode 1", "[x]mode 2", "-", "mnuPopupTransparent",
                                        "mnuPopupSound", "-", "mnuShowExtendedButton", "mnuShowBandwidth",
                                        "mnuBattery", "mnuShowRealIP", "Digital tray icon",
                                        "[x]Analog tray icon"}));
    // Hidden: MBAR2 goes, the separator before the tray picture pair comes.
    const MenuNode hidden = menu.build(false);
    EXPECT_EQ(shown(hidden).size(), shown(visible).size() - 1);
    EXPECT_EQ(shown(hidden.children[1])[11], "-");
}

// Items without a place or without a command are reported and left out; a
// submenu counts only when each of its items has a command.
TEST(MenuBuilder, ItemsWithoutAPlaceOrACommandAreReported) {
    MenuBuilder menu;
    menu.add(MenuItem("mnuNoSuchItem", "?", kNothing));
    menu.add(MenuItem("mnuDisplayTypes", "a second Display Mode", kNothing));
    menu.add(MenuItem("mnuFreeMem", "Free Memory", nullptr));
    MenuNode cards = MenuSubmenu("mnuNetCards", "Network Card");
    cards.children.push_back(MenuItem("mnuNetCard", "eth0", kNothing));
    cards.children.push_back(MenuSubmenu("mnuNetworkConnections", "no command"));
    menu.add(std::move(cards));
    std::int16_t ran = -1;
    menu.add(MenuItem("mnuPopupExit", "Exit", [&](std::int16_t index) { ran = index; }));
    EXPECT_EQ(menu.Misplaced(),
              (std::vector<std::string>{"mnuNoSuchItem", "mnuDisplayTypes", "mnuFreeMem", "mnuNetCards"}));
    const MenuNode built = menu.build(true);
    EXPECT_EQ(shown(built), (std::vector<std::string>{"Display Mode", "-", "-", "-", "-", "-", "Exit"}));
    built.children.back().run(7);
    EXPECT_EQ(ran, 7);
}

TEST(MenuBuilder, ForeignTextsKeepTheirAmpersands) {
    EXPECT_EQ(MenuCaptionOf("R&D LAN & more"), "R&&D LAN && more");
    EXPECT_EQ(AboutText(2, 3), "Trafalo v2.3\r\nA small traffic widget for the desktop.\r\n\r\n"
                               "https://example.org/trafalo");
}

} // namespace
