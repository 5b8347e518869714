#include "dialogs/pictograms.h"

#include <QPainter>
#include <QPolygon>

namespace {

constexpr int kSide = 24;

QPixmap canvas()
{
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A page's edge (thick line) with an arrow pointing onto it from inside the page.
QPixmap arrowOntoEdge(bool topEdge)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    if (!topEdge) { // the same drawing, turned onto the left edge
        painter.translate(0, kSide);
        painter.rotate(-90);
    }
    painter.drawLine(2, 3, kSide - 2, 3);
    painter.setPen(QPen(Qt::darkBlue, 2));
    painter.drawLine(kSide / 2, kSide - 3, kSide / 2, 8);
    painter.setBrush(Qt::darkBlue);
    painter.drawPolygon(QPolygon({{kSide / 2, 5}, {kSide / 2 - 4, 11}, {kSide / 2 + 4, 11}}));
    return pixmap;
}

QPixmap twoLabels(bool aboveEachOther)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    if (aboveEachOther) {
        painter.drawRect(3, 1, 17, 8);
        painter.drawRect(3, 14, 17, 8);
        painter.setPen(QPen(Qt::darkBlue, 1));
        painter.drawLine(22, 10, 22, 13);
    } else {
        painter.drawRect(1, 4, 8, 15);
        painter.drawRect(14, 4, 8, 15);
        painter.setPen(QPen(Qt::darkBlue, 1));
        painter.drawLine(10, 21, 13, 21);
    }
    return pixmap;
}

} // namespace

QPixmap Pictograms::arrowOntoTopEdge()
{
    return arrowOntoEdge(true);
}

QPixmap Pictograms::arrowOntoLeftEdge()
{
    return arrowOntoEdge(false);
}

QPixmap Pictograms::labelsOneAboveTheOther()
{
    return twoLabels(true);
}

QPixmap Pictograms::labelsSideBySide()
{
    return twoLabels(false);
}
