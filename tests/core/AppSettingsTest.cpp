#include "core/AppSettings.h"
#include "placement/WindowPlacement.h"

#include "fakes/FakeSettingsStore.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

TEST(ReadStartupSettings, EmptyStoreGivesTheDefaults) {
    FakeSettingsStore store;
    // Every check mark on: the window's test of an empty store sees them.
    const StartupSettings s = ReadStartupSettings(store, "/nonexistent/", "C");
    EXPECT_EQ(s.smallUI, 2);
    EXPECT_EQ(s.left, std::nullopt);
    EXPECT_EQ(s.top, 0);
    EXPECT_FALSE(s.tray);
    EXPECT_FALSE(s.notifyError);
    EXPECT_EQ(s.excludedDriveLetters, "C");
    EXPECT_EQ(s.autoFreeMemMB, 10);
    EXPECT_TRUE(store.writes.empty());
}

TEST(ReadStartupSettings, GarbageBooleansLeaveTheDesignedCheckMarks) {
    FakeSettingsStore store;
    for (const char* key :
         {"System tray icon type", "Start with Windows", "Sound", "ShowExtendedButton", "ShowBandwidth",
          "Battery", "ShowRealIP", "Always On Top", "Transparent", "Tray", "NotifyError"}) {
        store.put(key, "\x01garbage\xff");
    }
    const StartupSettings s = ReadStartupSettings(store, "/nonexistent/", "C");
    EXPECT_TRUE(s.options.analogTrayIcon);
    EXPECT_FALSE(s.options.startWithWindows);
    EXPECT_FALSE(s.options.soundOnError);
    EXPECT_FALSE(s.options.alwaysOnTop);
    EXPECT_FALSE(s.options.transparent);
    EXPECT_FALSE(s.tray);
    EXPECT_FALSE(s.notifyError);
}

TEST(ReadStartupSettings, BadNumbersGiveTheDefaults) {
    FakeSettingsStore store;
    store.put("SmallUI", "99999999999999999999");
    store.put("Left", "left");
    store.put("Top", "1e300");
    store.values[{"Lorvane", "Settings", "AutoFreeMemMB"}] = "lots";
    const StartupSettings s = ReadStartupSettings(store, "/nonexistent/", "C");
    EXPECT_EQ(s.smallUI, 2);
    EXPECT_EQ(s.left, std::nullopt);
    EXPECT_EQ(s.top, 0);
    EXPECT_EQ(s.autoFreeMemMB, 10);
}

TEST(ReadStartupSettings, NotifyErrorDefaultsToABatchFileWithBytes) {
    const auto folder = std::filesystem::temp_directory_path() / "trafalo-notify";
    std::filesystem::create_directories(folder);
    const std::string appFolder = folder.string() + "/";
    FakeSettingsStore store;
    std::ofstream(folder / "bwatch.bat").close();
    EXPECT_FALSE(ReadStartupSettings(store, appFolder, "C").notifyError);
    std::ofstream(folder / "bwatch.bat") << "echo lost\n";
    EXPECT_TRUE(ReadStartupSettings(store, appFolder, "C").notifyError);
    store.put("NotifyError", "False");
    EXPECT_FALSE(ReadStartupSettings(store, appFolder, "C").notifyError);
    std::filesystem::remove_all(folder);
}

TEST(SaveShutdownSettings, WritesTheKeysInTheFilesOrder) {
    // Given in the order the features stop, saved in the order users' files have.
    FakeSettingsStore store;
    const std::vector<std::pair<std::string, std::string>> given = {{"Connection", "2"},
                                                                    {"Sound", "True"},
                                                                    {"ShowBandwidth", "False"},
                                                                    {"Battery", "True"},
                                                                    {"Always On Top", "True"},
                                                                    {"Transparent", "False"},
                                                                    {"SmallUI", "1"},
                                                                    {"ShowExtendedButton", "False"},
                                                                    {"ShowRealIP", "False"},
                                                                    {"Left", "11910"},
                                                                    {"Top", "-15"},
                                                                    {"Tray", "True"},
                                                                    {"System tray icon type", "False"},
                                                                    {"NewKey", "x"}};
    EXPECT_TRUE(SaveShutdownSettings(store, given));
    const std::vector<std::pair<std::string, std::string>> expected = {{"Connection", "2"},
                                                                       {"Left", "11910"},
                                                                       {"Top", "-15"},
                                                                       {"Tray", "True"},
                                                                       {"System tray icon type", "False"},
                                                                       {"Always On Top", "True"},
                                                                       {"Transparent", "False"},
                                                                       {"Sound", "True"},
                                                                       {"SmallUI", "1"},
                                                                       {"ShowExtendedButton", "False"},
                                                                       {"ShowBandwidth", "False"},
                                                                       {"Battery", "True"},
                                                                       {"ShowRealIP", "False"},
                                                                       {"NewKey", "x"}};
    EXPECT_EQ(store.writes, expected);
    store.readOnly = true;
    EXPECT_FALSE(SaveShutdownSettings(store, given));
}

struct PlaceCase {
    std::optional<std::int32_t> left;
    std::int32_t top;
    WindowPlace expected;
};

TEST(PlaceAtStartup, NeverRightOfTheRightMostPlaceNorBelowTheTop) {
    // 1280 px screen, 366 px window: R = (1280 - 366 - 120) * 15 = 11910 twips.
    const PlaceCase cases[] = {
        {std::nullopt, 0, {11910, 0}}, {99999, 0, {11910, 0}}, {15, 300, {15, 0}},
        {1500, -200, {1500, -200}},    {11910, 0, {11910, 0}}, {-2000000000, -2000000000, {-19200, -19200}},
    };
    for (const PlaceCase& c : cases) {
        const WindowPlace place = PlaceAtStartup(c.left, c.top, 1280 * 15, 366 * 15);
        EXPECT_EQ(place.left, c.expected.left);
        EXPECT_EQ(place.top, c.expected.top);
    }
}

} // namespace
