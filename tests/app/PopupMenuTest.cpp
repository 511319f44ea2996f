// The popup menu's tree, visibility rules and check marks for one opening.
#include "app/PopupMenu.h"

#include <gtest/gtest.h>

namespace {

// The item with that name (and index, for the indexed groups) anywhere in the tree.
const MenuNode* FindMenuItem(const MenuNode& root, std::string_view name, std::int16_t index = -1) {
    if (root.name == name && root.index == index) {
        return &root;
    }
    for (const MenuNode& child : root.children) {
        if (const MenuNode* found = FindMenuItem(child, name, index)) {
            return found;
        }
    }
    return nullptr;
}

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

const MenuNode& child(const MenuNode& root, std::string_view name) {
    const MenuNode* found = FindMenuItem(root, name);
    EXPECT_NE(found, nullptr) << name;
    static const MenuNode kNone;
    return found ? *found : kNone;
}

MenuState defaults() {
    MenuState state;
    state.windowTypeChecked = {false, false, true};
    state.options.analogTrayIcon = true;
    state.options.soundOnError = true;
    state.options.showBandwidth = true;
    state.options.alwaysOnTop = true;
    state.netCards = {{"Loopback (lo)", true, true, true}, {"Intel Ethernet (eth0)", true, true, false}};
    return state;
}

TEST(PopupMenu, VisibleWindowShowsTheWindowOptions) {
    const MenuNode root = PreparePopupMenu(defaults());
    EXPECT_EQ(shown(root),
              (std::vector<std::string>{"*Hide to System Tray", "Display Mode", "Network Card", "-",
                                        "Eject All USB devices", "Toggle Mute Volume", "Toggle Taskbar", "-",
                                        "Free Memory", "Task Manager", "[x]Always on top", "-",
                                        "Start with Windows", "-", "About Trafalo", "-", "Exit"}));
    EXPECT_EQ(shown(child(root, "mnuDisplayTypes")),
              (std::vector<std::string>{"&Normal - Traffic and Statistics", "&Small - Traffic and IP",
                                        "[x]&Tiny - Traffic Only", "-", "Transparent", "[x]Sound on Error",
                                        "-", "Show Extended Button", "[x]Show Bandwidth",
                                        "Show Battery Level", "Show Real IP Address"}));
    EXPECT_EQ(shown(child(root, "mnuNetCards")),
              (std::vector<std::string>{"[x]Loopback (lo)", "Intel Ethernet (eth0)", "-",
                                        "Open Network Connections"}));
}

TEST(PopupMenu, HiddenWindowShowsTheTrayPicturePairInstead) {
    MenuState state = defaults();
    state.windowVisible = false;
    const MenuNode root = PreparePopupMenu(state);
    EXPECT_EQ(shown(root),
              (std::vector<std::string>{"*Show Trafalo", "Display Mode", "Network Card", "-",
                                        "Eject All USB devices", "Toggle Mute Volume", "Toggle Taskbar", "-",
                                        "Free Memory", "Task Manager", "-", "About Trafalo", "-", "Exit"}));
    EXPECT_EQ(
        shown(child(root, "mnuDisplayTypes")),
        (std::vector<std::string>{"&Normal - Traffic and Statistics", "&Small - Traffic and IP",
                                  "[x]&Tiny - Traffic Only", "-", "[x]Sound on Error", "-",
                                  "Show Extended Button", "[x]Show Bandwidth", "Show Battery Level",
                                  "Show Real IP Address", "-", "Digital tray icon", "[x]Analog tray icon"}));
    state.options.analogTrayIcon = false;
    const MenuNode digital = PreparePopupMenu(state);
    EXPECT_TRUE(child(digital, "mnuSystemTrayIconTypeDigital").checked);
    EXPECT_FALSE(child(digital, "mnuSystemTrayIconTypeAnalog").checked);
}

TEST(PopupMenu, AltShowsTheDriveExclusionsCheckedCaseSensitively) {
    MenuState state = defaults();
    state.excludedDriveLetters = "CEz";
    EXPECT_FALSE(child(PreparePopupMenu(state), "mnuExcludeDrives").visible);

    state.altHeld = true;
    const MenuNode root = PreparePopupMenu(state);
    const MenuNode& drives = child(root, "mnuExcludeDrives");
    EXPECT_TRUE(drives.visible);
    EXPECT_EQ(shown(root)[5], "Exclude Drive Letters from Eject");
    ASSERT_EQ(drives.children.size(), 26u);
    for (std::int16_t i = 0; i < 26; ++i) {
        const MenuNode& drive = drives.children[static_cast<std::size_t>(i)];
        EXPECT_EQ(drive.index, i);
        EXPECT_EQ(drive.caption, std::string(1, static_cast<char>('A' + i)) + ":");
        EXPECT_EQ(drive.checked, i == 2 || i == 4) << drive.caption; // "z" is not "Z"
    }
}

TEST(PopupMenu, KillProcessesOnlyWithTheListFile) {
    MenuState state = defaults();
    EXPECT_FALSE(child(PreparePopupMenu(state), "mnuKillProcesses").visible);
    state.killProcessesVisible = true;
    state.killProcessesCaption = "Kill 3 Processes";
    const MenuNode root = PreparePopupMenu(state);
    const MenuNode& item = child(root, "mnuKillProcesses");
    EXPECT_TRUE(item.visible);
    EXPECT_EQ(item.caption, "Kill 3 Processes");
}

TEST(PopupMenu, IndexedItemsAreFoundByIndex) {
    const MenuNode root = PreparePopupMenu(defaults());
    ASSERT_NE(FindMenuItem(root, "mnuNetCard", 1), nullptr);
    EXPECT_EQ(FindMenuItem(root, "mnuNetCard", 1)->caption, "Intel Ethernet (eth0)");
    EXPECT_EQ(FindMenuItem(root, "mnuNetCard", 2), nullptr);
    EXPECT_EQ(FindMenuItem(root, "mnuWindowType", 0)->caption, "&Normal - Traffic and Statistics");
    EXPECT_EQ(FindMenuItem(root, "mnuExcludeDrive", 25)->caption, "Z:");
}

TEST(PopupMenu, AboutTextGivesTheVersionAsPlainIntegers) {
    EXPECT_EQ(AboutText(2, 3), "Trafalo v2.3\r\nA small traffic widget for the desktop.\r\n\r\n"
                               "https://example.org/trafalo");
}

} // namespace
