#include "SamplerFixture.h"

#include <gtest/gtest.h>

namespace {

std::vector<IfRow> three() {
    return {FakeNetworkTable::row("Loopback"), FakeNetworkTable::row("Intel Ethernet (eth0)"),
            FakeNetworkTable::row("veth (veth0)")};
}

TEST(InterfaceSelection, NoInterfaceLeavesTheDisabledNoneItem) {
    SamplerFixture f(std::vector<IfRow>{});
    EXPECT_TRUE(f.selection.ListEntries().empty());
    ASSERT_EQ(f.selection.MenuItems().size(), 1u);
    EXPECT_EQ(f.selection.MenuItems()[0].caption, "<none>");
    EXPECT_FALSE(f.selection.MenuItems()[0].enabled);
    EXPECT_EQ(f.selection.ListIndex(), -1);
}

TEST(InterfaceSelection, MenuChoiceSelectsSavesEmptiesAndClearsOnce) {
    SamplerFixture f(three());
    f.host.linkTip = "Speed: 100.0 Mbps";
    f.host.history.DownloadHistory.fill(7);
    const int clears = f.host.historyClears;
    const int resets = f.host.topResets;
    f.settings.writes.clear();

    f.selection.mnuNetCard_Click(2);

    EXPECT_EQ(f.selection.ListIndex(), 2);
    EXPECT_EQ(f.settings.writes, (std::vector<std::pair<std::string, std::string>>{{"Connection", "2"}}));
    EXPECT_EQ(f.host.historyClears, clears + 1);
    EXPECT_EQ(f.host.topResets, resets + 1);
    EXPECT_EQ(f.host.history.DownloadHistory[0], 0.0);
    const auto& menu = f.selection.MenuItems();
    EXPECT_FALSE(menu[0].checked);
    EXPECT_FALSE(menu[1].checked);
    EXPECT_TRUE(menu[2].checked);
    EXPECT_EQ(f.selection.ListToolTip(), " veth (veth0) - Speed: 100.0 Mbps");
}

struct FirstStartCase {
    const char* what;
    std::vector<IfRow> rows;
    std::optional<std::int32_t> route;
    const char* saved; // nullptr: nothing saved
    std::int32_t expected;
};

TEST(InterfaceSelection, StartSelectsTheSavedEntryElseTheInterfaceInUse) {
    const std::vector<IfRow> rows = {FakeNetworkTable::link("lo", 1, 24, 5),
                                     FakeNetworkTable::link("eth0", 2, 6, 2),
                                     FakeNetworkTable::link("wlan0", 3, 71, 5)};
    const FirstStartCase cases[] = {
        {"the default route's interface", rows, 2, nullptr, 1},
        {"no route: the first one up that is not a loopback", rows, std::nullopt, nullptr, 2},
        {"a route through an interface not listed", rows, 9, nullptr, 2},
        {"nothing but the loopback", {FakeNetworkTable::link("lo", 1, 24, 5)}, std::nullopt, nullptr, 0},
        {"a saved position is kept", rows, 2, "0", 0},
        {"another saved position", rows, std::nullopt, "2", 2},
        {"saved past the end: the first", rows, 2, "3", 0},
        {"saved negative: the first", rows, 2, "-1", 0},
        {"saved garbage keeps the old rule: the first", rows, 2, "x", 0},
        {"saved beyond 32 bits: the first", rows, 2, "1e12", 0},
    };
    for (const FirstStartCase& c : cases) {
        FakeNetworkTable table;
        table.rows = c.rows;
        table.defaultRoute = c.route;
        FakeSettingsStore settings;
        if (c.saved) {
            settings.put("Connection", c.saved);
        }
        RecordingHost host;
        CIpHelper helper(table);
        InterfaceSelection selection(helper, settings, host);
        selection.Build();
        selection.SelectSaved();
        EXPECT_EQ(selection.ListIndex(), c.expected) << c.what;
        EXPECT_EQ(settings.main("Connection"), std::to_string(c.expected)) << c.what;
        const bool kept = c.saved && std::to_string(c.expected) == c.saved;
        EXPECT_EQ(settings.writes.size(), kept ? 0u : 1u)
            << c.what; // an unchanged choice is not written again
    }
}

} // namespace
