#include "AppSettings.h"

#include "Main.h"
#include "SettingsKeys.h"
#include "platform/ISettingsStore.h"

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

bool SaveShutdownSettings(ISettingsStore& store, const ShutdownState& state) {
    const Options& o = state.options;
    bool ok = true;
    auto save = [&](const char* key, const std::string& value) {
        ok = store.set(kAppName, kAppSection, key, value) && ok;
    };
    save(kKeyConnection, std::to_string(state.connection));
    save(kKeyLeft, std::to_string(state.left));
    save(kKeyTop, std::to_string(state.top));
    save(kKeyTray, BoolText(state.hidden));
    save(kKeyTrayIconType, BoolText(o.analogTrayIcon));
    save(kKeyAlwaysOnTop, BoolText(o.alwaysOnTop));
    save(kKeyTransparent, BoolText(o.transparent));
    save(kKeySound, BoolText(o.soundOnError));
    save(kKeySmallUI, std::to_string(state.displayMode));
    save(kKeyShowExtendedButton, BoolText(o.showExtendedButton));
    save(kKeyShowBandwidth, BoolText(o.showBandwidth));
    save(kKeyBattery, BoolText(o.battery));
    save(kKeyShowRealIP, BoolText(o.showRealIP));
    return ok;
}
