#include "labels/pagegrid.h"

#include "platform/apperror.h"

#include <QRect>

int PageGrid::places() const
{
    // A settings file can say 0 columns or rows: that is an error to report, not a crash.
    if (columns == 0 || rows == 0)
        throw AppError(QStringLiteral("Division by zero"));
    return columns * rows;
}

QPoint PageGrid::labelOrigin(int index) const
{
    places(); // a grid without places has no origins
    const int column = index % columns;
    const int row = index / columns % rows;
    return {column * (labelWidth + columnGap) + left, row * (labelHeight + rowGap) + top};
}

QSize PageGrid::pageSize() const
{
    return {labelWidth * columns + columnGap * (columns - 1) + 1 + 2 * left,
            labelHeight * rows + rowGap * (rows - 1) + 1 + 2 * top};
}

int PageGrid::placeAt(QPoint point) const
{
    for (int place = 0; place < places(); ++place) {
        if (QRect(labelOrigin(place), QSize(labelWidth, labelHeight)).contains(point))
            return place;
    }
    return -1;
}
