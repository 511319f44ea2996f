#pragma once
// Names in the settings store. These are the users' stored data: never rename.

inline constexpr const char* kAppName = "Trafalo";
inline constexpr const char* kAppSection = "Setting";
inline constexpr const char* kFreeMemAppName = "Lorvane";
inline constexpr const char* kFreeMemSection = "Settings";

inline constexpr const char* kKeyConnection = "Connection";
inline constexpr const char* kKeyLeft = "Left";
inline constexpr const char* kKeyTop = "Top";
inline constexpr const char* kKeyTray = "Tray";
inline constexpr const char* kKeyTrayIconType = "System tray icon type";
inline constexpr const char* kKeyStartWithWindows = "Start with Windows";
inline constexpr const char* kKeySound = "Sound";
inline constexpr const char* kKeyShowExtendedButton = "ShowExtendedButton";
inline constexpr const char* kKeyShowBandwidth = "ShowBandwidth";
inline constexpr const char* kKeyBattery = "Battery";
inline constexpr const char* kKeyShowRealIP = "ShowRealIP";
inline constexpr const char* kKeyAlwaysOnTop = "Always On Top";
inline constexpr const char* kKeyTransparent = "Transparent";
inline constexpr const char* kKeySmallUI = "SmallUI";
inline constexpr const char* kKeyNotifyError = "NotifyError";
inline constexpr const char* kKeyExcludedDriveLetters = "ExcludedDriveLetters";
inline constexpr const char* kKeyUrl = "url";
inline constexpr const char* kKeyAutoFreeMemMB = "AutoFreeMemMB";
inline constexpr const char* kKeyAutoFreeMemPeak = "AutoFreeMemPeak";
inline constexpr const char* kKeyFreeMemTray = "FreeMemTray";

inline constexpr const char* kBatchFileName = "bwatch.bat";
inline constexpr const char* kKillListFileName = "killlist.txt";
