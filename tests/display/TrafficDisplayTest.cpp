// The graph and the tray picture drawn into images, checked pixel by pixel
// where the drawing rules put things.
#include "display/TrafficDisplay.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

const QColor kBlack(0, 0, 0), kGreen(0, 255, 0), kRed(255, 0, 0), kBlue(0, 0, 255), kOrange(255, 127, 0),
    kMagenta(255, 0, 255), kYellow(255, 255, 0), kWhite(255, 255, 255);

struct Rig {
    std::int32_t cpu = 0;
    int cpuCalls = 0;
    MemoryStatus memory{0, 100, 50, 0, 0, 0, 0};
    PowerStatus power{1, 255};
    TrafficDisplay display{TrafficDisplay::Sources{[this] {
                                                       ++cpuCalls;
                                                       return cpu;
                                                   },
                                                   [this] { return memory; }, [this] { return power; }}};
    DisplayInputs in;
    Rig() {
        in.windowVisible = false;
        in.analogTray = true;
    }
    void sample(std::int32_t d, std::int32_t u) { display.Refresh(d, u, in); }
    QColor at(int x, int y) { return display.Graph().pixelColor(x, y); }
    QColor tray(int x, int y) const { return display.TrayPicture().pixelColor(x, y); }
};

// Pixels of text are smoothed: count those near a colour.
int countNear(const QImage& image, const QColor& colour, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) < 100 && std::abs(c.green() - colour.green()) < 100 &&
                         std::abs(c.blue() - colour.blue()) < 100
                     ? 1
                     : 0;
        }
    }
    return n;
}

int countColour(const QImage& image, const QColor& colour, QRect area = {}) {
    if (area.isNull()) {
        area = image.rect();
    }
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

TEST(TrafficGraph, BarsKeepTheSmallerValueVisible) {
    Rig r;
    r.sample(1000, 500); // slot 118: x 351..353
    r.sample(500, 1000); // slot 119: x 354..356
    r.sample(700, 700);  // slot 120: x 357..359
    // Scale 1000, H 77: the larger bar fills the column, the half one starts at row 38.
    EXPECT_EQ(r.at(352, 10), kGreen);
    EXPECT_EQ(r.at(352, 50), kRed);
    EXPECT_EQ(r.at(352, 37), kGreen);
    EXPECT_EQ(r.at(352, 38), kRed);
    EXPECT_EQ(r.at(355, 10), kRed);
    EXPECT_EQ(r.at(355, 50), kGreen);
    EXPECT_EQ(r.at(358, 73), kGreen); // equal values show green
    // Zeros draw a one-pixel line on the bottom row.
    EXPECT_EQ(r.at(10, 76), kGreen);
    EXPECT_EQ(r.at(10, 75), kBlack);
    // Grid columns at 16·S, 31·S, ...: 48, 93, 138, ...
    for (const int x : {48, 93, 138, 183, 228, 273, 318}) {
        EXPECT_EQ(r.at(x, 20), kBlue) << x;
    }
    EXPECT_EQ(r.at(49, 20), kBlack);
}

TEST(TrafficGraph, ALostLinkTurnsTheBackgroundDarkRed) {
    Rig r;
    r.in.linkDown = true;
    r.sample(100, 0);
    EXPECT_EQ(r.at(10, 10), QColor(204, 15, 0));
    EXPECT_EQ(r.at(359, 11), kGreen); // odd rows: between the meter stripes
    EXPECT_EQ(r.display.Background(), QColor(204, 15, 0));
    // The tray copy is taken while the background is still red.
    EXPECT_EQ(r.tray(2, 2), QColor(204, 15, 0));
    r.display.MakeBackgroundBlack();
    EXPECT_EQ(r.at(10, 10), kBlack);
}

TEST(TrafficGraph, AVisibleWindowAddsAveragesProcessorCurveAndBar) {
    Rig r;
    r.in.windowVisible = true;
    r.cpu = 50;
    r.sample(1000, 0);
    r.in.averageDownload = 500; // row 77 - 38.5 - 1 = 37.5: 38
    r.in.averageUpload = 250;   // row 56.75: 57
    r.sample(0, 0);
    EXPECT_EQ(r.at(10, 38), TrafficDisplay::kAverageDownload);
    EXPECT_EQ(r.at(10, 57), kMagenta);
    EXPECT_EQ(r.cpuCalls, 2);
    EXPECT_EQ(r.display.History.CpuHistory[119], 50);
    EXPECT_EQ(r.display.History.CpuHistory[118], 50);
    // Processor bar from 119·S = 357 down from row 38 (50 %), cut at the right edge.
    EXPECT_EQ(r.at(361, 39), kOrange);
    EXPECT_EQ(r.at(361, 37), kBlack);
    // Stripes every other row from H-3 up to the higher of the two meters.
    EXPECT_EQ(r.at(361, 40), kBlack);
    EXPECT_EQ(r.at(361, 74), kBlack);
    EXPECT_EQ(r.at(361, 75), kOrange);
    // The curve: 50 % lies at row 38.5 between the last two slots.
    EXPECT_GT(countColour(r.display.Graph(), kYellow, QRect(351, 36, 6, 5)), 0);
}

TEST(TrafficGraph, AHiddenWindowFreezesTheProcessorAndStripesToTheTop) {
    Rig r;
    r.cpu = 80;
    r.in.averageDownload = 500;
    r.sample(1000, 0);
    r.sample(0, 0);
    EXPECT_EQ(r.cpuCalls, 0);
    EXPECT_EQ(r.display.History.CpuHistory[119], 0);
    EXPECT_EQ(countColour(r.display.Graph(), TrafficDisplay::kAverageDownload), 0);
    EXPECT_EQ(countColour(r.display.Graph(), kYellow), 0);
    EXPECT_EQ(countColour(r.display.Graph(), kOrange), 0);
    for (const int y : {0, 2, 38, 74}) {
        EXPECT_EQ(r.at(361, y), kBlack) << y;
    }
}

TEST(TrafficGraph, TinyWithBandwidthPlots75SlotsAndTheReadouts) {
    Rig r;
    r.display.SetGraphSize(140, 26);
    r.in.tinyChecked = true;
    r.in.showBandwidth = true;
    r.in.battery = false;
    r.in.downloadCaption = "9.09 MB/s ";
    r.in.uploadCaption = "1.00 KB/s ";
    r.sample(1000, 0);
    // Slot 75 is the newest at x 74; a full green column.
    EXPECT_EQ(r.at(74, 3), kGreen);
    EXPECT_EQ(r.at(73, 24), kBlack);
    EXPECT_EQ(r.at(73, 25), kGreen);
    EXPECT_EQ(r.at(76, 5), kBlue); // the separator at W + 1
    EXPECT_EQ(r.display.History.DownloadHistory[74], 1000.0);
    EXPECT_EQ(r.display.History.DownloadHistory[119], 0.0); // slots past 75 stay as they were
    EXPECT_GT(countNear(r.display.Graph(), kGreen, QRect(78, 0, 40, 11)), 10);
    EXPECT_GT(countNear(r.display.Graph(), kRed, QRect(78, 12, 40, 12)), 10);
    EXPECT_EQ(countNear(r.display.Graph(), kRed, QRect(78, 0, 40, 11)), 0);
    // The memory meter is inside, from 130: half the memory in use, rows 13 to 25.
    EXPECT_EQ(r.at(132, 24), kBlue);
    EXPECT_EQ(r.at(132, 23), kBlack); // a stripe
    EXPECT_EQ(r.at(132, 12), kBlack);
}

struct BatteryCase {
    PowerStatus status;
    const char* text;
};

TEST(BatteryReadout, TextsAndTheChargingPicture) {
    const BatteryCase cases[] = {
        {{1, 255}, "AC"},   {{0, 255}, "255%"}, {{1, 100}, "AC"},
        {{0, 100}, "100%"}, {{1, 87}, "87%"},   {{0, 0}, "0%"},
    };
    for (const BatteryCase& c : cases) {
        EXPECT_EQ(BatteryText(c.status), c.text);
    }
    Rig r;
    r.in.battery = true;
    r.power = PowerStatus{1, 87};
    std::vector<int> edges;
    for (int i = 0; i < 13; ++i) {
        edges.push_back(r.display.ChargeAnimationX);
        r.sample(0, 0);
    }
    EXPECT_EQ(edges, (std::vector<int>{0, 2, 4, 6, 8, 10, 1, 3, 5, 7, 9, 11, 1}));
    // The last picture drawn (left edge 1): red charge at rows 15..17, x 1..8,
    // a white frame around it and the nub at x 10.
    EXPECT_EQ(r.at(3, 16), kRed);
    EXPECT_EQ(r.at(3, 14), kWhite);
    EXPECT_EQ(r.at(10, 16), kWhite);
    EXPECT_EQ(r.at(10, 14), kBlack);
    r.power = PowerStatus{0, 87};
    const int before = r.display.ChargeAnimationX;
    r.sample(0, 0);
    EXPECT_EQ(r.display.ChargeAnimationX, before); // no charging: no picture, no move
    EXPECT_EQ(r.at(3, 16), kBlack);
}

TEST(GraphToolTip, ComparedWhole) {
    Rig r;
    r.in.windowVisible = true;
    r.cpu = 37;
    r.memory = MemoryStatus{75, 4294967296LL, 1073741824LL, 0, 0, 0, 0};
    r.in.downloadCaption = "1.50 KB/s ";
    r.in.uploadCaption = "512 B/s ";
    r.sample(1536, 512);
    EXPECT_EQ(r.display.ToolTip(),
              "DL: 1.50 KB/s   UL: 512 B/s   CPU: 37%    RAM: 75% - 3072.0 MB of 4096.0 MB");
    // Hidden: the processor figure repeats; no total memory keeps the old text.
    r.in.windowVisible = false;
    r.cpu = 90;
    r.memory = MemoryStatus{};
    r.sample(0, 0);
    EXPECT_EQ(r.display.ToolTip(),
              "DL: 1.50 KB/s   UL: 512 B/s   CPU: 37%    RAM: 75% - 3072.0 MB of 4096.0 MB");
    r.memory = MemoryStatus{50, 2097152, 1048576, 0, 0, 0, 0};
    r.sample(0, 0);
    EXPECT_EQ(r.display.ToolTip(), "DL: 1.50 KB/s   UL: 512 B/s   CPU: 37%    RAM: 50% - 1.0 MB of 2.0 MB");
}

} // namespace

namespace {

// The 2x2 blocks of a 2x picture over an area of logical pixels that are
// not of one colour: none where a 1x picture was only scaled up.
int mixedBlocks(const QImage& image, const QRect& logical) {
    int n = 0;
    for (int y = logical.top(); y <= logical.bottom(); ++y) {
        for (int x = logical.left(); x <= logical.right(); ++x) {
            const QRgb c = image.pixel(2 * x, 2 * y);
            n += image.pixel(2 * x + 1, 2 * y) != c || image.pixel(2 * x, 2 * y + 1) != c ||
                         image.pixel(2 * x + 1, 2 * y + 1) != c
                     ? 1
                     : 0;
        }
    }
    return n;
}

} // namespace

// On a 2x screen the graph and the tray picture have twice the pixels: the
// bars and grid cover the same logical pixels as at 1x, and the battery's
// "AC" is drawn at the finer grid instead of blown up.
TEST(TrafficDisplay, ATwoTimesScreenDrawsEveryPixelTwiceAndTheTextFiner) {
    Rig one, two;
    two.display.SetGraphSize(366, 77, 2);
    for (Rig* rig : {&one, &two}) {
        rig->in.battery = true;
        rig->sample(0, 0);
        rig->sample(5000, 1000);
        rig->sample(1000, 5000);
    }
    const QImage& graph = two.display.Graph();
    ASSERT_EQ(graph.size(), QSize(732, 154));
    EXPECT_EQ(graph.devicePixelRatio(), 2);
    EXPECT_EQ(two.display.TrayPicture().size(), QSize(64, 64));
    // Away from the text, each logical pixel is a block of its 1x colour.
    int differing = 0;
    for (int y = 20; y < 77; ++y) {
        for (int x = 0; x < 366; ++x) {
            const QRgb want = one.display.Graph().pixel(x, y);
            differing +=
                graph.pixel(2 * x, 2 * y) != want || graph.pixel(2 * x + 1, 2 * y + 1) != want ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(mixedBlocks(graph, QRect(0, 0, 24, 14)), 10);
    EXPECT_GT(countNear(graph, kWhite, QRect(0, 0, 48, 28)),
              countNear(one.display.Graph(), kWhite, QRect(0, 0, 24, 14)) * 3);
}
