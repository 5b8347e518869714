#pragma once

#include <QPointF>

class QImage;

// Marks the paper's right and bottom edges (`edge`, in layout pixels) on the page image with
// dashed lines, where they fall on it: labels beyond them do not print.
void drawPaperEdge(QImage& page, QPointF edge);
