#include "PopupMenu.h"

namespace {

MenuNode item(std::string name, std::string caption, bool visible = true) {
    MenuNode node;
    node.name = std::move(name);
    node.caption = std::move(caption);
    node.visible = visible;
    return node;
}

MenuNode toggle(std::string name, std::string caption, bool checked, bool visible = true) {
    MenuNode node = item(std::move(name), std::move(caption), visible);
    node.checkable = true;
    node.checked = checked;
    return node;
}

MenuNode separator(std::string name, bool visible = true) {
    MenuNode node;
    node.name = std::move(name);
    node.separator = true;
    node.visible = visible;
    return node;
}

MenuNode displayTypes(const MenuState& state) {
    const Options& o = state.options;
    const bool v = state.windowVisible;
    MenuNode menu = item("mnuDisplayTypes", "Display Mode");
    static const char* const kModes[] = {"&Normal - Traffic and Statistics", "&Small - Traffic and IP",
                                         "&Tiny - Traffic Only"};
    for (std::int16_t mode = 0; mode < 3; ++mode) {
        MenuNode type =
            toggle("mnuWindowType", kModes[mode], state.windowTypeChecked[static_cast<std::size_t>(mode)]);
        type.index = mode;
        menu.children.push_back(std::move(type));
    }
    menu.children.push_back(separator("mnuDisplaySep1"));
    menu.children.push_back(toggle("mnuPopupTransparent", "Transparent", o.transparent, v));
    menu.children.push_back(toggle("mnuPopupSound", "Sound on Error", o.soundOnError));
    menu.children.push_back(separator("mnuDisplaySep2"));
    menu.children.push_back(toggle("mnuShowExtendedButton", "Show Extended Button", o.showExtendedButton));
    menu.children.push_back(toggle("mnuShowBandwidth", "Show Bandwidth", o.showBandwidth));
    menu.children.push_back(toggle("mnuBattery", "Show Battery Level", o.battery));
    menu.children.push_back(toggle("mnuShowRealIP", "Show Real IP Address", o.showRealIP));
    menu.children.push_back(separator("mnuDisplaySep3", !v));
    // The two marks of the pair are always opposite: start-up sets them so
    // and every click swaps them.
    menu.children.push_back(
        toggle("mnuSystemTrayIconTypeDigital", "Digital tray icon", !o.analogTrayIcon, !v));
    menu.children.push_back(toggle("mnuSystemTrayIconTypeAnalog", "Analog tray icon", o.analogTrayIcon, !v));
    return menu;
}

MenuNode netCards(const MenuState& state) {
    MenuNode menu = item("mnuNetCards", "Network Card");
    for (std::size_t i = 0; i < state.netCards.size(); ++i) {
        const InterfaceSelection::MenuItem& card = state.netCards[i];
        MenuNode node = toggle("mnuNetCard", card.caption, card.checked, card.visible);
        node.enabled = card.enabled;
        node.index = static_cast<std::int16_t>(i);
        menu.children.push_back(std::move(node));
    }
    menu.children.push_back(separator("mnuNetSep"));
    menu.children.push_back(item("mnuNetworkConnections", "Open Network Connections"));
    return menu;
}

MenuNode excludeDrives(const MenuState& state) {
    MenuNode menu = item("mnuExcludeDrives", "Exclude Drive Letters from Eject", state.altHeld);
    for (std::int16_t i = 0; i < 26; ++i) {
        const char letter = static_cast<char>('A' + i);
        MenuNode drive = toggle("mnuExcludeDrive", std::string(1, letter) + ":",
                                state.excludedDriveLetters.find(letter) != std::string::npos);
        drive.index = i;
        menu.children.push_back(std::move(drive));
    }
    return menu;
}

} // namespace

MenuNode PreparePopupMenu(const MenuState& state) {
    const Options& o = state.options;
    const bool v = state.windowVisible;
    MenuNode root = item("mnuPopup", "");
    MenuNode hide = item("mnuPopupHide", v ? "Hide to System Tray" : "Show Trafalo");
    hide.isDefault = true;
    root.children.push_back(std::move(hide));
    root.children.push_back(displayTypes(state));
    root.children.push_back(netCards(state));
    root.children.push_back(separator("MBAR4"));
    root.children.push_back(item("mnuEjectAllUSB", "Eject All USB devices"));
    root.children.push_back(excludeDrives(state));
    root.children.push_back(item("mnuToggleMute", "Toggle Mute Volume"));
    root.children.push_back(item("mnuToggleTaskbar", "Toggle Taskbar"));
    root.children.push_back(separator("MBAR3"));
    root.children.push_back(item("mnuFreeMem", "Free Memory"));
    root.children.push_back(item("mnuTaskManager", "Task Manager"));
    root.children.push_back(item("mnuKillProcesses", state.killProcessesCaption, state.killProcessesVisible));
    root.children.push_back(toggle("mnuPopupAlwaysOnTop", "Always on top", o.alwaysOnTop, v));
    root.children.push_back(separator("MBAR2", v));
    root.children.push_back(toggle("mnuPopupStartWithWindows", "Start with Windows", o.startWithWindows, v));
    root.children.push_back(separator("MBAR1"));
    root.children.push_back(item("mnuPopupAbout", "About Trafalo"));
    root.children.push_back(separator("MBAR0"));
    root.children.push_back(item("mnuPopupExit", "Exit"));
    return root;
}

std::string AboutText(int major, int minor) {
    return "Trafalo v" + std::to_string(major) + "." + std::to_string(minor) + "\r\n" +
           std::string(kCreditLine) + "\r\n\r\n" + std::string(kMakerAddress);
}
