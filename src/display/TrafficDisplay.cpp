#include "TrafficDisplay.h"

#include "Layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

const QColor TrafficDisplay::kLinkDown{204, 15, 0};
// Stands apart from the green and red bars, the magenta upload line and the
// yellow processor curve.
const QColor TrafficDisplay::kAverageDownload{0, 192, 255};

namespace {

const QColor kGrid{0, 0, 255};
const QColor kDownload{0, 255, 0};
const QColor kUpload{255, 0, 0};
const QColor kAverageUpload{255, 0, 255};
const QColor kCpuCurve{255, 255, 0};
const QColor kCpuBar{255, 127, 0};
const QColor kMemoryBar{0, 0, 255};

// Coordinates are rounded to whole pixels, halves to even.
int px(double value) {
    const double r = std::nearbyint(value);
    return static_cast<int>(std::clamp(r, -1.0e6, 1.0e6));
}

// Device pixels from logical pixel edges at the image's ratio.
int device(int logical, qreal ratio) {
    return ratio == 1 ? logical : static_cast<int>(std::floor(logical * ratio));
}

// Rows top to bottom, columns left to right, all included, in logical
// pixels, filled straight into the device pixels and clipped to the image;
// an empty range fills nothing. The graph fills some 250 rectangles a sample
// (bars, grid, meters); a painter call costs more than the pixels it sets.
void fillRows(QImage& image, int left, int right, int top, int bottom, QRgb pixel) {
    const qreal ratio = image.devicePixelRatio();
    left = device(left, ratio);
    right = device(right + 1, ratio) - 1;
    top = device(top, ratio);
    bottom = device(bottom + 1, ratio) - 1;
    left = std::max(0, left);
    right = std::min(image.width() - 1, right);
    top = std::max(0, top);
    bottom = std::min(image.height() - 1, bottom);
    if (left > right || top > bottom) {
        return;
    }
    // Both images are 32-bit opaque RGB: one word a pixel.
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = top; y <= bottom; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + left, row + right + 1, pixel);
    }
}

// A rectangle between two corner pixels, both included.
void fillCorners(QImage& image, int x1, int y1, int x2, int y2, const QColor& colour) {
    fillRows(image, std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2), colour.rgb());
}

// Text with the top-left corner of its cell at (x, y).
void textAt(QPainter& p, double x, double y, const QString& text) {
    p.drawText(QRectF(x, y, 10000, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

} // namespace

QFont DisplayFont(const QString& face, double points, bool bold) {
    QFont font(face);
    font.setPixelSize(std::max(1, PointsToPixels(points)));
    font.setBold(bold);
    // Every text here is Latin: without shaping, Qt lays it out from the
    // font's advances alone, several times faster, which matters for texts
    // drawn anew every second. Kerning is the only thing given up.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

TrafficDisplay::TrafficDisplay(Sources sources, NumberSeparators separators)
    : m_sources(std::move(sources)), m_separators(std::move(separators)) {
    SetGraphSize(kGraphWidth, kGraphHeight);
}

void TrafficDisplay::SetGraphSize(int width, int height, qreal ratio) {
    ratio = ratio > 0 ? ratio : 1;
    m_width = std::max(1, width);
    m_height = std::max(1, height);
    m_graph = QImage(qRound(m_width * ratio), qRound(m_height * ratio), QImage::Format_RGB32);
    m_graph.setDevicePixelRatio(ratio);
    if (m_tray.isNull() || m_tray.devicePixelRatio() != ratio) {
        const int side = qRound(kTraySize * ratio);
        m_tray = QImage(side, side, QImage::Format_RGB32);
        m_tray.setDevicePixelRatio(ratio);
        m_tray.fill(Qt::black);
    }
    ClearGraph();
}

void TrafficDisplay::ClearGraph() {
    m_graph.fill(m_background);
    m_partial = false;
}

void TrafficDisplay::MakeBackgroundBlack() {
    if (m_background != QColor(Qt::black)) {
        m_background = Qt::black;
        ClearGraph();
    }
}

std::string TrafficDisplay::TrayDigits(std::int32_t bytes) const {
    return FormatNumber(bytes / 1024.0, "##0.0", m_separators);
}

const QImage& TrafficDisplay::Graph() {
    if (m_partial) {
        m_partial = false;
        drawTraffic(0);
        drawOverlays();
    }
    return m_graph;
}

void TrafficDisplay::Refresh(std::int32_t download, std::int32_t upload, const DisplayInputs& in) {
    const bool tinyWithBandwidth = in.showBandwidth && in.tinyChecked;
    const int shown = tinyWithBandwidth ? 75 : 120;

    History.ShiftTraffic(static_cast<std::size_t>(shown), download, upload);
    Frame f;
    f.in = in;
    for (int i = 0; i < shown; ++i) {
        f.scale = std::max({f.scale, History.DownloadHistory[static_cast<std::size_t>(i)],
                            History.UploadHistory[static_cast<std::size_t>(i)]});
    }
    f.plotted = tinyWithBandwidth ? 75 : m_width;
    f.slotWidth = px(static_cast<double>(f.plotted) / shown);
    std::int32_t cpu = History.CpuHistory[static_cast<std::size_t>(shown) - 1];
    if (in.windowVisible) {
        cpu = m_sources.cpuUsage ? m_sources.cpuUsage() : 0;
        History.ShiftCpu(static_cast<std::size_t>(shown), cpu);
        f.yc = px(m_height * (100.0 - History.CpuHistory[static_cast<std::size_t>(shown) - 1]) / 100);
    }
    m_frame = std::move(f);
    m_background = in.linkDown ? kLinkDown : QColor(Qt::black);
    if (in.battery) {
        readBattery();
    }
    if (tinyWithBandwidth) {
        m_frame.tinyReadouts = true;
        m_graphFace = QStringLiteral("Verdana"); // the battery readout's face from the next sample on
    }

    // Hidden, the window shows nothing of the graph: only what the tray
    // picture is taken from is drawn (none of it for the digital picture),
    // and the rest when the graph is next looked at.
    const int fromX = in.windowVisible ? 0 : in.analogTray ? m_width - m_height : m_width;
    drawTraffic(fromX);
    drawTrayPicture(download, upload, in.analogTray);
    updateToolTip(in, cpu);
    m_partial = fromX > 0;
    if (!m_partial) {
        drawOverlays();
    }
}

void TrafficDisplay::drawTraffic(int fromX) {
    const Frame& f = m_frame;
    const int height = m_height;
    if (fromX == 0) {
        m_graph.fill(m_background);
    } else {
        fillRows(m_graph, fromX, m_width - 1, 0, height - 1, m_background.rgb());
    }
    for (int i = 16; i <= f.plotted; i += 15) {
        if (i * f.slotWidth >= fromX) {
            fillCorners(m_graph, i * f.slotWidth, 0, i * f.slotWidth, height - 1, kGrid);
        }
    }
    drawBars(fromX);
    if (!f.in.windowVisible) {
        return;
    }
    if (f.scale > 0) {
        const int yd = px(height - height * f.in.averageDownload / f.scale - 1);
        fillCorners(m_graph, 0, yd, m_width, yd, kAverageDownload);
        const int yu = px(height - height * f.in.averageUpload / f.scale - 1);
        fillCorners(m_graph, 0, yu, m_width, yu, kAverageUpload);
    }
    drawCpuCurve();
    fillCorners(m_graph, 119 * f.slotWidth, height - 1, 130 * f.slotWidth, f.yc, kCpuBar);
}

void TrafficDisplay::drawOverlays() {
    if (m_frame.in.battery) {
        drawBattery();
    }
    if (m_frame.tinyReadouts) {
        drawTinyReadouts();
    }
    drawMemoryMeter();
}

void TrafficDisplay::drawCpuCurve() {
    const int height = m_height;
    const int slotWidth = m_frame.slotWidth;
    std::array<QLineF, TrafficHistory::kSlots> segments;
    int count = 0;
    for (int i = 2; i <= m_frame.plotted && i <= static_cast<int>(TrafficHistory::kSlots); ++i) {
        const double c1 = History.CpuHistory[static_cast<std::size_t>(i) - 2];
        const double c2 = History.CpuHistory[static_cast<std::size_t>(i) - 1];
        segments[static_cast<std::size_t>(count++)] = QLineF((i - 2) * slotWidth, height * (100 - c1) / 100,
                                                             (i - 1) * slotWidth, height * (100 - c2) / 100);
    }
    QPainter p(&m_graph);
    p.setPen(kCpuCurve);
    p.drawLines(segments.data(), count);
}

void TrafficDisplay::drawBars(int fromX) {
    const double scale = m_frame.scale;
    if (scale <= 0) {
        return; // nothing to scale by: no bars
    }
    const int height = m_height;
    const int width = m_width;
    const int slotWidth = m_frame.slotWidth;
    // The top row of a bar; every bar reaches the bottom row, even at 0.
    auto top = [&](double v) { return std::clamp(px(height - height * v / scale - 1), 0, height - 1); };
    for (int i = 1; i <= m_frame.plotted && i <= static_cast<int>(TrafficHistory::kSlots); ++i) {
        const double d = History.DownloadHistory[static_cast<std::size_t>(i) - 1];
        const double u = History.UploadHistory[static_cast<std::size_t>(i) - 1];
        const int x1 = std::max((i - 1) * slotWidth, fromX);
        const int x2 = std::min(i * slotWidth - 1, width - 1);
        if ((i - 1) * slotWidth > x2) {
            break;
        }
        if (x1 > x2) {
            continue; // left of the part drawn
        }
        // The smaller value lies over the larger so that it stays visible;
        // equal values show green. Each pixel is set once: the larger bar
        // down to where the smaller begins, the smaller to the bottom.
        const bool downloadLarger = d > u;
        const int largeTop = top(downloadLarger ? d : u);
        const int smallTop = top(downloadLarger ? u : d);
        fillRows(m_graph, x1, x2, largeTop, smallTop - 1, (downloadLarger ? kDownload : kUpload).rgb());
        fillRows(m_graph, x1, x2, smallTop, height - 1, (downloadLarger ? kUpload : kDownload).rgb());
    }
}

void TrafficDisplay::drawTrayPicture(std::int32_t download, std::int32_t upload, bool analog) {
    QPainter p(&m_tray);
    if (analog) {
        // The newest end of the graph: a square as high as the graph.
        const int side = m_height;
        const qreal ratio = m_graph.devicePixelRatio();
        const QRectF source((m_width - side) * ratio, 0, side * ratio, side * ratio); // device pixels
        p.drawImage(QRectF(0, 0, kTraySize, kTraySize), m_graph, source);
        return;
    }
    m_tray.fill(Qt::black);
    p.setFont(DisplayFont(QStringLiteral("Tahoma"), 14.25, true));
    const double unit = kTraySize / kTrayUnits;
    const QFontMetricsF metrics(p.font());
    auto line = [&](std::int32_t bytes, double y, const QColor& colour) {
        const QString text = QString::fromStdString(TrayDigits(bytes));
        const double width = metrics.horizontalAdvance(text) / unit;
        const double x = width > kTrayUnits ? 0 : (kTrayUnits - width) / 2;
        p.setPen(colour);
        textAt(p, x * unit, y * unit, text);
    };
    line(download, -4, kDownload);
    line(upload, kTrayUnits / 2 - 4, kUpload);
}

void TrafficDisplay::readBattery() {
    if (m_sources.powerStatus) {
        if (const auto status = m_sources.powerStatus()) {
            LastPowerStatus = *status;
        }
    }
    m_frame.batteryFace = m_graphFace;
    m_frame.chargeX = -1;
    if (LastPowerStatus.batteryLifePercent < 100 && LastPowerStatus.acLineStatus != 0) {
        m_frame.chargeX = ChargeAnimationX;
        ChargeAnimationX += 2;
        if (ChargeAnimationX > 11) {
            ChargeAnimationX = 1;
        }
    }
}

void TrafficDisplay::drawBattery() {
    {
        QPainter p(&m_graph);
        // The graph's own face is bold; only its size is set here.
        p.setFont(DisplayFont(m_frame.batteryFace, 10, true));
        p.setPen(Qt::white);
        textAt(p, 0, -1, QString::fromStdString(BatteryText(LastPowerStatus)));
    }
    if (const int x = m_frame.chargeX; x >= 0) {
        fillCorners(m_graph, x - 1, 14, x + 8, 18, Qt::white);
        fillCorners(m_graph, x, 15, x + 7, 17, kUpload);
        fillCorners(m_graph, x + 9, 15, x + 9, 17, Qt::white);
    }
}

std::string BatteryText(const PowerStatus& status) {
    std::string percent = std::to_string(status.batteryLifePercent) + "%";
    if (status.batteryLifePercent < 100) {
        return percent;
    }
    return status.acLineStatus != 0 ? "AC" : percent;
}

void TrafficDisplay::drawTinyReadouts() {
    const int plotted = m_frame.plotted;
    QPainter p(&m_graph);
    p.setPen(kGrid);
    p.drawLine(plotted + 1, 0, plotted + 1, m_height);
    p.setFont(DisplayFont(QStringLiteral("Verdana"), 6, true));
    p.setPen(kDownload);
    textAt(p, plotted + 3, 0, QString::fromStdString(m_frame.in.downloadCaption));
    p.setPen(kUpload);
    textAt(p, plotted + 3, 12, QString::fromStdString(m_frame.in.uploadCaption));
}

void TrafficDisplay::updateToolTip(const DisplayInputs& in, std::int32_t cpu) {
    LastMemoryStatus = m_sources.memoryStatus ? m_sources.memoryStatus() : MemoryStatus{};
    CurrentMemoryStatus = LastMemoryStatus;
    const double total = static_cast<double>(LastMemoryStatus.TotalPhys);
    const double avail = static_cast<double>(LastMemoryStatus.AvailPhys);
    if (total <= 0) {
        return; // the percentages cannot be made: the tooltip keeps its text
    }
    m_toolTip = "DL: " + in.downloadCaption + "  UL: " + in.uploadCaption + "  CPU: " + std::to_string(cpu) +
                "%    RAM: " + FormatNumber(1 - avail / total, "0%", m_separators) + " - " +
                FormatNumber((total - avail) / 1048576, "0.0", m_separators) + " MB of " +
                FormatNumber(total / 1048576, "0.0", m_separators) + " MB";
}

void TrafficDisplay::drawMemoryMeter() {
    const int height = m_height;
    const int slotWidth = m_frame.slotWidth;
    int ym = 0;
    if (LastMemoryStatus.TotalPhys > 0) {
        ym = px(height * static_cast<double>(LastMemoryStatus.AvailPhys) /
                static_cast<double>(LastMemoryStatus.TotalPhys));
        fillCorners(m_graph, 130 * slotWidth, height - 1, 136 * slotWidth, ym, kMemoryBar);
    }
    for (int y = height - 3; y >= std::min(ym, m_frame.yc); y -= 2) {
        fillCorners(m_graph, 119 * slotWidth, y, 136 * slotWidth, y, Qt::black);
    }
}

std::string TrayToolTip(const std::string& downloadCaption, const std::string& uploadCaption) {
    // Lines are broken with a line feed, the break the desktop's tooltips know.
    return "Trafalo\nDownload: " + downloadCaption + "\nUpload: " + uploadCaption;
}
