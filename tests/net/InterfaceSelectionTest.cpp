#include "SamplerFixture.h"

#include <gtest/gtest.h>

namespace {

std::vector<IfRow> three() {
    return {FakeNetworkTable::row("Loopback"), FakeNetworkTable::row("Intel Ethernet (eth0)"),
            FakeNetworkTable::row("veth (veth0)")};
}

TEST(InterfaceSelection, ListAndMenuShowTheSameInterfaces) {
    SamplerFixture f(three());
    EXPECT_EQ(f.selection.ListEntries(),
              (std::vector<std::string>{" Loopback", " Intel Ethernet (eth0)", " veth (veth0)"}));
    const auto& menu = f.selection.MenuItems();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].caption, "Loopback");
    EXPECT_TRUE(menu[0].enabled);
    EXPECT_TRUE(menu[0].checked);
    EXPECT_EQ(menu[2].caption, "veth (veth0)");
    EXPECT_FALSE(menu[2].checked);
    EXPECT_EQ(f.selection.ListIndex(), 0);
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

TEST(InterfaceSelection, ChoosingTheSelectedItemRunsNoHandler) {
    SamplerFixture f(three());
    f.selection.mnuNetCard_Click(1);
    const int clears = f.host.historyClears;
    f.settings.writes.clear();
    f.selection.mnuNetCard_Click(1);
    EXPECT_EQ(f.host.historyClears, clears);
    EXPECT_TRUE(f.settings.writes.empty());
    EXPECT_TRUE(f.selection.MenuItems()[1].checked);
}

TEST(InterfaceSelection, AMenuIndexWithoutAListEntryLeavesTheSelection) {
    SamplerFixture f(three());
    f.selection.mnuNetCard_Click(7);
    EXPECT_EQ(f.selection.ListIndex(), 0);
}

struct SavedCase {
    const char* saved;
    std::int32_t expected;
};

TEST(InterfaceSelection, SavedConnectionOutOfRangeSelectsTheFirst) {
    const SavedCase cases[] = {{"2", 2}, {"5", 0}, {"3", 0}, {"-1", 0}, {"x", 0}, {"1e12", 0}};
    for (const SavedCase& c : cases) {
        FakeNetworkTable table;
        table.rows = three();
        FakeSettingsStore settings;
        settings.put("Connection", c.saved);
        RecordingHost host;
        CIpHelper helper(table);
        InterfaceSelection selection(helper, settings, host);
        selection.Build();
        selection.SelectSaved();
        EXPECT_EQ(selection.ListIndex(), c.expected) << c.saved;
        EXPECT_EQ(settings.main("Connection"), std::to_string(c.expected));
    }
}

} // namespace
