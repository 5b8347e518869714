#include "labels/labelstock.h"

#include "labels/settingranges.h"
#include "platform/rounding.h"

namespace {

QString sizeOf(int width, int height)
{
    return QStringLiteral("%1 × %2 mm")
        .arg(millimetresText(width / 100.0), millimetresText(height / 100.0));
}

// Hundredths of a millimetre that round to a whole millimetre of `range`.
bool roundsInto(Range range, int hundredths)
{
    return hundredths >= range.min * 100 - 50 && hundredths < range.max * 100 + 50;
}

} // namespace

QRect LabelStock::label(int place) const
{
    const int column = place % columns;
    const int row = place / columns % rows;
    return {left + column * columnPitch, top + row * rowPitch, width, height};
}

bool LabelStock::printable() const
{
    return roundsInto(SheetRanges::labelWidth, width) &&
           roundsInto(SheetRanges::labelHeight, height) && SheetRanges::columns.contains(columns) &&
           SheetRanges::rows.contains(rows) && (columns == 1 || columnPitch >= width) &&
           (rows == 1 || rowPitch >= height) && left >= 0 && top >= 0 && paperWidth > 0 &&
           paperHeight > 0;
}

QPageSize LabelStock::pageSize() const
{
    return QPageSize(QSizeF(paperWidth / 100.0, paperHeight / 100.0), QPageSize::Millimeter,
                     QString(), QPageSize::FuzzyMatch);
}

QString LabelStock::sizeText() const
{
    return sizeOf(width, height);
}

QString LabelStock::gridText() const
{
    return QStringLiteral("%1 × %2").arg(columns).arg(rows);
}

QString LabelStock::paperText() const
{
    return paper.isEmpty() ? sizeOf(paperWidth, paperHeight) : paper;
}

QString millimetresText(double millimetres)
{
    return QString::number(millimetres, 'g', 6).replace(u'.', u',');
}

int stockPixels(int hundredths)
{
    return roundHalfEven(hundredths / 25.4);
}

int nearestWholeMillimetres(int hundredths)
{
    return roundHalfEven(hundredths / 100.0 / 0.9746);
}
