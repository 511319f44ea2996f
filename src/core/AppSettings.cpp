#include "core/AppSettings.h"

#include "core/Files.h"
#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "platform/ISettingsStore.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

bool readBool(ISettingsStore& store, const char* key, bool defaultValue, bool designed) {
    const std::string text = store.get(kAppName, kAppSection, key, BoolText(defaultValue));
    return ParseBool(text).value_or(designed);
}

std::optional<std::int32_t> readNumber(ISettingsStore& store, const char* key) {
    return ParseInt32(store.get(kAppName, kAppSection, key, ""));
}

} // namespace

StartupSettings ReadStartupSettings(ISettingsStore& store, const std::string& appFolder,
                                    const std::string& programDriveLetter) {
    StartupSettings s;
    const bool batchFile = FileExists(appFolder + kBatchFileName);
    s.notifyError = readBool(store, kKeyNotifyError, batchFile, false);
    s.excludedDriveLetters = store.get(kAppName, kAppSection, kKeyExcludedDriveLetters, programDriveLetter);
    s.autoFreeMemMB =
        ParseInt32(store.get(kFreeMemAppName, kFreeMemSection, kKeyAutoFreeMemMB, "10")).value_or(10);

    Options& o = s.options;
    o.analogTrayIcon = readBool(store, kKeyTrayIconType, true, true);
    o.startWithWindows = readBool(store, kKeyStartWithWindows, true, false);
    o.soundOnError = readBool(store, kKeySound, true, false);
    o.showExtendedButton = readBool(store, kKeyShowExtendedButton, true, false);
    o.showBandwidth = readBool(store, kKeyShowBandwidth, true, false);
    o.battery = readBool(store, kKeyBattery, true, false);
    o.showRealIP = readBool(store, kKeyShowRealIP, true, false);
    o.alwaysOnTop = readBool(store, kKeyAlwaysOnTop, true, false);
    o.transparent = readBool(store, kKeyTransparent, true, false);

    s.smallUI = readNumber(store, kKeySmallUI).value_or(2);
    s.left = readNumber(store, kKeyLeft);
    s.top = readNumber(store, kKeyTop).value_or(0);
    s.tray = readBool(store, kKeyTray, false, false);
    return s;
}

bool SaveShutdownSettings(ISettingsStore& store, std::vector<std::pair<std::string, std::string>> keys) {
    static const std::string_view kOrder[] = {
        kKeyConnection,    kKeyLeft,        kKeyTop,       kKeyTray,    kKeyTrayIconType,
        kKeyAlwaysOnTop,   kKeyTransparent, kKeySound,     kKeySmallUI, kKeyShowExtendedButton,
        kKeyShowBandwidth, kKeyBattery,     kKeyShowRealIP};
    auto rank = [](const std::string& key) {
        return std::find(std::begin(kOrder), std::end(kOrder), key) - std::begin(kOrder);
    };
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const auto& a, const auto& b) { return rank(a.first) < rank(b.first); });
    return store.setMany(kAppName, kAppSection, keys);
}
