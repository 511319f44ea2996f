#pragma once
// The Free Memory window's meter graph: one pixel a second of virtual memory
// (blue), page file (dark grey) and RAM (green) available, over a grey grid
// whose vertical lines enter every 20 s. A picture the window shows.
#include "metrics/MemoryStatus.h"

#include <QImage>
#include <cstdint>

class MeterGraph {
public:
    // The size in logical pixels, drawn at the screen's device pixel ratio.
    MeterGraph(int width, int height, qreal ratio = 1);

    // A fresh grid; the next tick of each trace plots a point, not a line.
    void DrawMeterGrid();
    // One second: the picture moves a pixel to the left and the new column
    // shows the snapshot. A total of 0 leaves that trace where it was.
    void Tick(const MemoryStatus& s);

    const QImage& Picture() const { return m_picture; }
    static constexpr int kGridRow = 13;
    static constexpr int kGridTicks = 20;

private:
    struct Trace {
        int prevY = -1;
        int y = 0;
    };
    void plot(Trace& trace, std::int64_t available, std::int64_t total, QRgb colour);

    QImage m_picture;
    int m_width; // logical pixels
    int m_height;
    std::int16_t m_gridCounter = 0;
    Trace m_virt, m_page, m_ram;
};
