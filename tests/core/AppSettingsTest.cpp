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

// (The shutdown list's order and its one write: QtSettingsStore.TheShutdownList
// IsOneWriteInItsOwnOrder, on a real file; a write that fails:
// QtSettingsStore.AWriteThatCannotBeDoneFails.)

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
