#pragma once

#include <QPoint>
#include <QSize>

// The labels of one sheet in layout pixels. Labels fill a sheet row by row, each row from left
// to right; the grid wraps after a full sheet, so every label has its place on its own sheet.
struct PageGrid {
    int columns = 0;
    int rows = 0;
    int labelWidth = 0;
    int labelHeight = 0;
    int left = 0; // offset of the first label, repeated on the right
    int top = 0;  // and at the bottom
    int columnGap = 0;
    int rowGap = 0;

    // The labels of a sheet; a grid of no columns or rows raises AppError.
    int places() const;
    QPoint labelOrigin(int index) const;
    // The place (0 …) whose label holds `point`, or -1 where no label is.
    int placeAt(QPoint point) const;
    // One sheet: the labels with their gaps, one spare pixel and the offsets on both sides.
    QSize pageSize() const;
};
