#include "freemem/MeterGraph.h"

#include "freemem/FreeMemLogic.h"

#include <QPainter>

namespace {
const QColor kGrey(136, 136, 136);
const QColor kBackground(Qt::black);
} // namespace

MeterGraph::MeterGraph(int width, int height, qreal ratio)
    : m_picture(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32), m_width(width),
      m_height(height) {
    // Every drawing below is in logical pixels; a painter on the picture
    // turns them into the device's.
    m_picture.setDevicePixelRatio(ratio);
    DrawMeterGrid();
}

void MeterGraph::DrawMeterGrid() {
    m_picture.fill(kBackground);
    QPainter p(&m_picture);
    p.setPen(kGrey);
    const int w = m_width;
    const int h = m_height;
    p.drawLine(0, kGridRow, w, kGridRow);
    for (int x = 5; x <= w; x += kGridTicks) {
        p.drawLine(x, 0, x, h);
    }
    m_virt.prevY = m_page.prevY = m_ram.prevY = -1;
}

void MeterGraph::plot(Trace& trace, std::int64_t available, std::int64_t total, QRgb colour) {
    const int w = m_width;
    if (total > 0) {
        trace.y = MeterY(available, total, m_height);
    }
    QPainter p(&m_picture);
    p.setPen(QColor(colour));
    if (trace.prevY < 0) {
        p.drawPoint(w - 1, trace.y);
    } else {
        p.drawLine(w - 2, trace.prevY, w - 1, trace.y);
    }
    trace.prevY = trace.y;
}

void MeterGraph::Tick(const MemoryStatus& s) {
    const int w = m_width;
    const int h = m_height;
    {
        const QImage before = m_picture.copy();
        QPainter p(&m_picture);
        p.drawImage(-1, 0, before);
        ++m_gridCounter;
        QColor column = kBackground;
        if (m_gridCounter >= kGridTicks) {
            column = kGrey;
            m_gridCounter = 0;
        }
        p.setPen(column);
        p.drawLine(w - 1, 0, w - 1, h);
        p.fillRect(QRect(w - 1, kGridRow, 1, 1), kGrey);
    }
    plot(m_virt, s.AvailVirtual, s.TotalVirtual, qRgb(0, 0, 255));
    plot(m_page, s.AvailPageFile, s.TotalPageFile, qRgb(68, 68, 68));
    plot(m_ram, s.AvailPhys, s.TotalPhys, qRgb(0, 255, 0));
}
