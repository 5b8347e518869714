#include "window/appicon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Bar widths of the icon in sixteenths of its side, bar and gap alternating.
constexpr int kBars[] = {1, 1, 1, 1, 2, 1, 1, 2, 1, 1, 2, 1};

QPixmap drawnAt(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    const double unit = side / 16.0;
    double x = unit;
    bool bar = true;
    for (int width : kBars) {
        if (bar)
            painter.fillRect(QRectF(x, unit * 2, width * unit, unit * 12), Qt::black);
        x += width * unit;
        bar = !bar;
    }
    return pixmap;
}

} // namespace

QIcon barcodeIcon()
{
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawnAt(side));
    return icon;
}
