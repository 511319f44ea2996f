#pragma once
// The per-sample picture work: the traffic graph with its grid, bars, average
// lines, processor curve and meters; the tray picture; the battery and Tiny
// readouts; the graph's tooltip. Draws into images; the window shows them.
#include "TrafficHistory.h"
#include "core/NumberFormat.h"
#include "metrics/MemoryStatus.h"
#include "platform/IPowerStatus.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

struct DisplayInputs {
    bool tinyChecked = false;   // "&Tiny - Traffic Only" checked
    bool showBandwidth = false; // "Show Bandwidth" checked
    bool analogTray = true;     // "Analog tray icon" checked
    bool battery = false;       // "Show Battery Level" checked
    bool windowVisible = true;
    bool linkDown = false; // OperationalStatus 0, 1 or 2
    double averageDownload = 0;
    double averageUpload = 0;
    std::string downloadCaption; // lblDSpeed, with its unit and trailing blank
    std::string uploadCaption;   // lblUSpeed
};

class TrafficDisplay {
public:
    struct Sources {
        std::function<std::int32_t()> cpuUsage;     // GetAllCPUUsage
        std::function<MemoryStatus()> memoryStatus; // GetMemoryStatus
        std::function<std::optional<PowerStatus>()> powerStatus;
    };

    static constexpr int kTraySize = 32;
    static constexpr double kTrayUnits = 15; // the tray picture's user scale
    static const QColor kLinkDown;
    static const QColor kAverageDownload;

    explicit TrafficDisplay(Sources sources, NumberSeparators separators = {});

    // The graph's drawing area in logical pixels (set by the display mode),
    // drawn at the screen's device pixel ratio; clears it. Every coordinate
    // of the drawing is logical: a 2x screen gets twice the pixels.
    void SetGraphSize(int width, int height, qreal ratio = 1);
    // Fills the graph with its background colour.
    void ClearGraph();
    // Sets a black background again (clearing the graph) unless it is black.
    void MakeBackgroundBlack();

    // One accepted sample, the steps after the skip check and before the
    // hand-off to the notification area.
    void Refresh(std::int32_t download, std::int32_t upload, const DisplayInputs& inputs);

    // The tray picture's digital text for a byte count ("##0.0" of KiB).
    std::string TrayDigits(std::int32_t bytes) const;

    // The graph of the last sample. While the window is hidden a sample draws
    // only the part the tray picture is taken from; the rest is drawn here,
    // when the graph is next looked at (the window shown again).
    const QImage& Graph();
    const QImage& TrayPicture() const { return m_tray; }
    const QColor& Background() const { return m_background; }
    const std::string& ToolTip() const { return m_toolTip; }

    TrafficHistory History;
    PowerStatus LastPowerStatus;
    int ChargeAnimationX = 0;
    MemoryStatus LastMemoryStatus;

private:
    // What the last sample draws from: enough to draw its graph again.
    struct Frame {
        DisplayInputs in;
        double scale = 0;
        int plotted = 0;
        int slotWidth = 1;
        int yc = 0;                // the processor bar's top row
        int chargeX = -1;          // the charging picture's left edge, -1 for none
        QString batteryFace;       // the face of the battery readout
        bool tinyReadouts = false; // the Tiny layout's speed readouts
    };

    // The background, grid, bars and (visible) the averages and processor,
    // from column fromX on.
    void drawTraffic(int fromX);
    // What is drawn after the tray picture is taken: the battery, the Tiny
    // readouts and the meters' stripes.
    void drawOverlays();
    void drawBars(int fromX);
    void drawCpuCurve();
    void drawTrayPicture(std::int32_t download, std::int32_t upload, bool analog);
    void readBattery();
    void drawBattery();
    void drawTinyReadouts();
    void updateToolTip(const DisplayInputs& inputs, std::int32_t cpu);
    void drawMemoryMeter();

    Sources m_sources;
    NumberSeparators m_separators;
    QImage m_graph;
    QImage m_tray;
    int m_width = 0; // the graph's, in logical pixels
    int m_height = 0;
    QColor m_background{Qt::black};
    QString m_graphFace = QStringLiteral("Tahoma");
    std::string m_toolTip;
    Frame m_frame;
    bool m_partial = false; // the last sample drew only the tray picture's part
};

// A face at a size in points (at 96 dots an inch, at least one pixel), as
// every text of the window and the pictures is drawn.
QFont DisplayFont(const QString& face, double points, bool bold);

// The battery readout's text: the percent below 100, else "AC" on mains or
// the percent on battery ("255%" for a machine that cannot tell).
std::string BatteryText(const PowerStatus& status);

// The notification-area tooltip: the name, then the download and upload
// lines, each speed as the window's label shows it.
std::string TrayToolTip(const std::string& downloadCaption, const std::string& uploadCaption);
