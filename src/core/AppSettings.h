#pragma once
// The main window's settings: what start-up reads, with every default, and
// what shutdown saves, in order.
#include <optional>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ISettingsStore;

// The popup menu's check marks: the program's option state.
struct Options {
    bool analogTrayIcon = true; // "System tray icon type"; Digital is its opposite
    bool startWithWindows = false;
    bool soundOnError = false;
    bool showExtendedButton = false;
    bool showBandwidth = false;
    bool battery = false;
    bool showRealIP = false;
    bool alwaysOnTop = false;
    bool transparent = false;
};

struct StartupSettings {
    Options options;
    bool notifyError = false;
    std::string excludedDriveLetters;
    std::int32_t autoFreeMemMB = 10;
    std::int32_t smallUI = 2;
    std::optional<std::int32_t> left; // twips; absent: the right-most position
    std::int32_t top = 0;             // twips
    bool tray = false;
};

// Reads every start-up key. An absent key gives its default; a boolean that
// is not a boolean leaves its check mark as designed (all off but the analog
// tray picture); a number that is not one, or does not fit, gives the default.
StartupSettings ReadStartupSettings(ISettingsStore& store, const std::string& appFolder,
                                    const std::string& programDriveLetter);

// Saves the shutdown keys given as key and value pairs, in the order the
// settings file has always had them ("Connection", "Left", "Top", "Tray",
// "System tray icon type", "Always On Top", "Transparent", "Sound",
// "SmallUI", "ShowExtendedButton", "ShowBandwidth", "Battery",
// "ShowRealIP"), any other key after them. False when a write failed.
bool SaveShutdownSettings(ISettingsStore& store, std::vector<std::pair<std::string, std::string>> keys);
