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

// The items of the whole design, added in an order of their own.
MenuBuilder everything() {
    MenuBuilder menu;
    menu.add(MenuItem("mnuPopupExit", "Exit"));
    menu.add(MenuToggle("mnuSystemTrayIconTypeAnalog", "Analog tray icon", true));
    menu.add(MenuToggle("mnuSystemTrayIconTypeDigital", "Digital tray icon", false));
    for (std::int16_t i = 0; i < 3; ++i) {
        MenuNode mode = MenuToggle("mnuWindowType", "mode " + std::to_string(i), i == 2);
        mode.index = i;
        menu.add(std::move(mode));
    }
    for (const char* name :
         {"mnuPopupTransparent", "mnuPopupSound", "mnuShowExtendedButton", "mnuShowBandwidth", "mnuBattery",
          "mnuShowRealIP", "mnuNetCards", "mnuEjectAllUSB", "mnuExcludeDrives", "mnuToggleMute",
          "mnuToggleTaskbar", "mnuFreeMem", "mnuTaskManager", "mnuKillProcesses", "mnuPopupAlwaysOnTop",
          "mnuPopupStartWithWindows", "mnuPopupAbout"}) {
        menu.add(MenuItem(name, name));
    }
    MenuNode hide = MenuItem("mnuPopupHide", "Hide to System Tray");
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

TEST(MenuBuilder, NamesWithoutAPlaceAreReported) {
    MenuBuilder menu;
    menu.add(MenuItem("mnuNoSuchItem", "?"));
    menu.add(MenuItem("mnuDisplayTypes", "a second Display Mode"));
    menu.add(MenuItem("mnuPopupExit", "Exit"));
    EXPECT_EQ(menu.Misplaced(), (std::vector<std::string>{"mnuNoSuchItem", "mnuDisplayTypes"}));
    EXPECT_EQ(shown(menu.build(true)).back(), "Exit");
}

TEST(MenuBuilder, ForeignTextsKeepTheirAmpersands) {
    EXPECT_EQ(MenuCaptionOf("R&D LAN & more"), "R&&D LAN && more");
    EXPECT_EQ(AboutText(2, 3), "Trafalo v2.3\r\nA small traffic widget for the desktop.\r\n\r\n"
                               "https://example.org/trafalo");
}

} // namespace
