#include "SamplerFixture.h"

#include <gtest/gtest.h>

namespace {

using L = TrafficSampler::Label;

TEST(TrafficSampler, FirstSampleIsShownButNeitherCountedNorPlotted) {
    SamplerFixture f;
    f.tick(2048, 512);
    EXPECT_EQ(f.host.caption(L::DSpeed), "2.00 KB/s ");
    EXPECT_EQ(f.host.caption(L::USpeed), "512 B/s ");
    EXPECT_EQ(f.host.caption(L::Recv), "2 KB");
    EXPECT_EQ(f.host.caption(L::Speed0), "<design>");
    EXPECT_EQ(f.host.caption(L::Speed3), "<design>");
    EXPECT_EQ(f.sampler.TopDownload, 0.0);
    EXPECT_FALSE(f.sampler.SkipNextSample);
    EXPECT_EQ(f.host.history.DownloadHistory.back(), 0.0);

    f.tick(2048 + 1000, 512);
    EXPECT_EQ(f.sampler.TopDownload, 1000.0);
    EXPECT_EQ(f.host.history.DownloadHistory.back(), 1000.0);
    EXPECT_EQ(f.host.caption(L::Speed0), "Top download speed: 0.98 Kb/s");
}

struct DropCase {
    std::uint64_t previousIn, nextIn;
    std::uint64_t previousOut, nextOut;
    bool accepted;
};

TEST(TrafficSampler, DropRules) {
    const DropCase cases[] = {
        {0, 500000000, 0, 0, true},
        {0, 500000001, 0, 0, false},
        {1000, 999, 0, 0, false},                         // negative download
        {0, 10, 100, 0, true},                            // negative upload is kept
        {0, 10, 0, 3000000000ULL, false},                 // upload beyond 32 bits
        {4294967000ULL, 4294967000ULL + 300, 0, 0, true}, // no wrap with whole counters
        {0, 5000000000ULL, 0, 0, false},
    };
    for (const DropCase& c : cases) {
        SamplerFixture f;
        f.tick(c.previousIn, c.previousOut);
        f.host.events.clear();
        f.host.captions.clear();
        f.tick(c.nextIn, c.nextOut);
        const bool displayed = std::any_of(f.host.events.begin(), f.host.events.end(),
                                           [](const std::string& e) { return e.rfind("display", 0) == 0; });
        EXPECT_EQ(displayed, c.accepted) << c.previousIn << " -> " << c.nextIn;
        EXPECT_EQ(f.host.captions.empty(), !c.accepted);
        // The counters move on either way, so the next sample is sound.
        EXPECT_EQ(f.sampler.PreviousBytesReceived, static_cast<double>(c.nextIn));
        EXPECT_EQ(f.sampler.LastSampleTime, f.clock.seconds);
    }
}

struct SpeedCase {
    std::int64_t bytes;
    const char* download;
    const char* upload;
};

TEST(TrafficSampler, SpeedTexts) {
    const SpeedCase cases[] = {
        {0, "0 Bps ", "0 B/s "},
        {1023, "1023 Bps ", "1023 B/s "},
        {1024, "1.00 KB/s ", "1.00 KB/s "},
        {1536, "1.50 KB/s ", "1.50 KB/s "},
        {1048576, "1024.00 KB/s ", "1024.00 KB/s "},
        {1048577, "1.00 MB/s ", "1.00 MB/s "},
        {500000000, "476.84 MB/s ", "476.84 MB/s "},
    };
    for (const SpeedCase& c : cases) {
        SamplerFixture f;
        f.tick(static_cast<std::uint64_t>(c.bytes), static_cast<std::uint64_t>(c.bytes));
        EXPECT_EQ(f.host.caption(L::DSpeed), c.download);
        EXPECT_EQ(f.host.caption(L::USpeed), c.upload);
    }
}

TEST(TrafficSampler, TotalsAndLinkSpeedTexts) {
    struct Case {
        std::uint64_t total;
        std::int64_t speed;
        const char* totalText;
        const char* speedText;
    };
    const Case cases[] = {
        {1048576, 1000000, "1,024 KB", "Speed: 1,000.0 Kbps"},
        {1048577, 100000000, "1 MB", "Speed: 100.0 Mbps"},
        {0, 1000000000, "0 KB", "Speed: 1,000.0 Mbps"},
        {5368709120ULL, 10000000000LL, "5,120 MB", "Speed: 10.0 Gbps"},
        {0, 0, "0 KB", "Speed: 0.0 Kbps"},
    };
    for (const Case& c : cases) {
        SamplerFixture f({FakeNetworkTable::row("eth0", 0, 0, 5, c.speed)});
        f.sampler.PreviousBytesReceived = static_cast<double>(c.total);
        f.sampler.PreviousBytesSent = static_cast<double>(c.total);
        f.tick(c.total, c.total);
        EXPECT_EQ(f.host.caption(L::Recv), c.totalText);
        EXPECT_EQ(f.host.caption(L::Sent), c.totalText);
        EXPECT_EQ(f.host.linkTip, c.speedText);
    }
}

TEST(TrafficSampler, AveragesWeighEachSampleHalf) {
    SamplerFixture f;
    f.tick(0, 0);
    f.tick(1000, 0);
    EXPECT_EQ(f.sampler.AverageDownload, 500.0);
    f.tick(4000, 0);
    EXPECT_EQ(f.sampler.AverageDownload, 1750.0);
    EXPECT_EQ(f.host.caption(L::Speed2), "Average download speed: 1.71 Kb/s");
    EXPECT_EQ(f.host.toolTips[L::Speed2], "Average download speed: 1.71 Kb/s");
    EXPECT_EQ(f.host.caption(L::Speed3), "Average upload speed: 0.00 Kb/s");
}

TEST(TrafficSampler, TopSpeedsRestartTheResetTimerAndClear) {
    SamplerFixture f;
    f.tick(0, 0);
    f.tick(5000, 100);
    EXPECT_EQ(f.host.resetRestarts, 2);
    f.tick(7000, 150); // 2000 and 50: no new top
    EXPECT_EQ(f.host.resetRestarts, 2);
    EXPECT_EQ(f.sampler.TopDownload, 5000.0);
    EXPECT_EQ(f.sampler.TopUpload, 100.0);
    EXPECT_EQ(f.host.caption(L::Speed1), "Top upload speed: 0.10 Kb/s");
    f.sampler.tmrReset_Timer();
    EXPECT_EQ(f.sampler.TopDownload, 0.0);
    EXPECT_EQ(f.sampler.TopUpload, 0.0);
    f.tick(8000, 150);
    EXPECT_EQ(f.sampler.TopDownload, 1000.0);
    EXPECT_EQ(f.host.toolTips[L::Speed0], "Top download speed: 0.98 Kb/s");
}

struct LinkCase {
    bool sound;
    bool notify;
    std::vector<std::string> lostSounds;
    std::size_t batchRuns;
    bool notified;
};

TEST(TrafficSampler, LinkLostIsSignalledOncePerLoss) {
    const LinkCase cases[] = {
        {false, false, {}, 0, false},
        {true, false, {"SystemHand"}, 0, true},
        {false, true, {}, 1, true},
        {true, true, {"SystemHand"}, 1, true},
    };
    for (const LinkCase& c : cases) {
        SamplerFixture f;
        f.host.sound = c.sound;
        f.sampler.NotifyError = c.notify;
        f.tick(0, 0);
        f.table.rows[0].operStatus = 2;
        f.tick(10, 10);
        f.tick(20, 20);
        f.tick(30, 30);
        EXPECT_EQ(f.host.caption(L::Speed0), "NETWORK ERROR!!");
        EXPECT_EQ(f.host.caption(L::Speed1), "A network cable is unplugged.");
        EXPECT_EQ(f.sound.played, c.lostSounds);
        EXPECT_EQ(f.shell.hidden.size(), c.batchRuns);
        if (c.batchRuns > 0) {
            EXPECT_EQ(f.shell.hidden[0], "/app/bwatch.bat");
        }
        EXPECT_EQ(f.sampler.ErrorNotified, c.notified);

        f.table.rows[0].operStatus = 5;
        f.tick(40, 40);
        EXPECT_FALSE(f.sampler.ErrorNotified);
        EXPECT_EQ(f.host.ipRefreshes, c.notified ? 1 : 0);
        const std::size_t sounds = c.lostSounds.size() + (c.notified && c.sound ? 1 : 0);
        EXPECT_EQ(f.sound.played.size(), sounds);
        if (c.notified && c.sound) {
            EXPECT_EQ(f.sound.played.back(), "SystemExclamation");
        }

        // A second loss signals again.
        f.table.rows[0].operStatus = 0;
        f.tick(50, 50);
        EXPECT_EQ(f.shell.hidden.size(), c.batchRuns * 2);
    }
}

TEST(TrafficSampler, AnotherInterfaceStartsWithoutADifference) {
    // lo at 100 MB, then eth0 at 400 MB must not read as 286 MB/s.
    SamplerFixture f({FakeNetworkTable::row("lo"), FakeNetworkTable::row("eth0")});
    f.tick(100000000, 0, 0);
    f.tick(100001024, 0, 0);
    f.table.rows[1].octetsIn = 400000000;
    f.selection.SetListIndex(1);
    f.host.events.clear();
    f.tick(400000000, 0, 1);
    EXPECT_EQ(f.host.events, (std::vector<std::string>{"timer off", "timer on"}));
    EXPECT_EQ(f.sampler.TopDownload, 1024.0); // lo's, not 286 MB
    EXPECT_EQ(f.host.caption(L::DSpeed), "1.00 KB/s ");
    f.tick(400002048, 0, 1);
    EXPECT_EQ(f.host.caption(L::DSpeed), "2.00 KB/s ");
    EXPECT_EQ(f.sampler.TopDownload, 2048.0);
}

TEST(TrafficSampler, AChangedInterfaceCountRebuildsTheListAndReselects) {
    SamplerFixture f(
        {FakeNetworkTable::row("lo"), FakeNetworkTable::row("eth0"), FakeNetworkTable::row("veth0")});
    f.selection.SetListIndex(1);
    f.tick(0, 0, 1);
    f.table.rows.push_back(FakeNetworkTable::row("veth1"));
    f.tick(100, 100, 1);
    EXPECT_EQ(f.selection.ListEntries(), (std::vector<std::string>{" lo", " eth0", " veth0", " veth1"}));
    EXPECT_EQ(f.selection.ListIndex(), 1);         // "Connection" was saved as 1
    EXPECT_EQ(f.selection.MenuItems().size(), 3u); // the menu keeps its start-up items
}

TEST(TrafficSampler, AnInterfaceSwappedWithinASecondRebuildsTheList) {
    // lo and aaa (watched); aaa deleted and zzz added: the same count.
    SamplerFixture f({FakeNetworkTable::link("lo", 1), FakeNetworkTable::link("aaa", 2)});
    f.selection.SetListIndex(1);
    f.tick(0, 0, 1);
    f.table.rows[1] = FakeNetworkTable::link("zzz", 3);
    f.tick(0, 0, 1);
    EXPECT_EQ(f.selection.ListEntries(), (std::vector<std::string>{" lo", " zzz"}));
    // The watched interface stays watched while it exists, wherever it moves.
    f.table.rows = {FakeNetworkTable::link("lo", 1), FakeNetworkTable::link("zzz", 3),
                    FakeNetworkTable::link("new", 4)};
    f.selection.SetListIndex(1);
    f.tick(0, 0, 1);
    f.table.rows = {FakeNetworkTable::link("lo", 1), FakeNetworkTable::link("a", 5),
                    FakeNetworkTable::link("zzz", 3)};
    f.tick(0, 0, 2);
    EXPECT_EQ(f.selection.ListEntries(), (std::vector<std::string>{" lo", " a", " zzz"}));
    EXPECT_EQ(f.selection.ListIndex(), 2);
    EXPECT_EQ(f.sampler.CurrentInterface->InterfaceName, "zzz");
}

TEST(TrafficSampler, AWatchedInterfaceThatWentAwayFallsBackToTheSavedEntry) {
    SamplerFixture f(
        {FakeNetworkTable::row("lo"), FakeNetworkTable::row("eth0"), FakeNetworkTable::row("veth0")});
    f.selection.SetListIndex(2);
    f.tick(0, 0, 2);
    f.table.rows.pop_back();
    f.host.events.clear();
    f.clock.seconds += 1;
    f.sampler.tmrUpdate_Timer();
    EXPECT_EQ(f.selection.ListCount(), 2);
    EXPECT_EQ(f.selection.ListIndex(), 0); // saved position 2 no longer exists
    EXPECT_EQ(f.sampler.CurrentInterface->InterfaceName, "lo");
    // lo's counters are not compared with veth0's: nothing shown this second.
    EXPECT_EQ(f.host.events, (std::vector<std::string>{"timer off", "timer on"}));
}

} // namespace
