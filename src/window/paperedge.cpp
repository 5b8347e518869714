#include "window/paperedge.h"

#include "platform/rounding.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int dash = 6;
constexpr int gap = 4;

} // namespace

void drawPaperEdge(QImage& page, QPointF edge)
{
    // The monochrome page takes filled areas, not lines.
    QPainter painter(&page);
    const QSize size = page.deviceIndependentSize().toSize();
    const int right = roundHalfEven(edge.x());
    const int bottom = roundHalfEven(edge.y());
    if (right < size.width())
        for (int y = 0; y < size.height(); y += dash + gap)
            painter.fillRect(right, y, 1, dash, Qt::black);
    if (bottom < size.height())
        for (int x = 0; x < size.width(); x += dash + gap)
            painter.fillRect(x, bottom, dash, 1, Qt::black);
}
