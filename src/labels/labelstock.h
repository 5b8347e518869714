#pragma once

#include <QPageSize>
#include <QRect>
#include <QString>

// A sheet of labels as its maker lays it out, every length in hundredths of a millimetre on
// paper. A roll label is a sheet of one label on a paper of its own size.
struct LabelStock {
    QString maker;
    QString part;
    int width = 0; // of one label
    int height = 0;
    int left = 0; // the first label's corner, from the paper's left and top edges
    int top = 0;
    int columnPitch = 0; // from one label's left edge to the next one's
    int rowPitch = 0;
    int columns = 1;
    int rows = 1;
    QString paper; // its name ("A4", "US Letter"); empty for a paper known by its size only
    int paperWidth = 0;
    int paperHeight = 0;

    QString name() const { return maker + u' ' + part; }
    // The label at `place` (0 …, row by row), from the paper's top-left corner.
    QRect label(int place) const;
    // Whether the program prints it: labels of 30–99 × 10–50 mm to the nearest millimetre, 1–20
    // columns and 1–50 rows that do not overlap, on a paper.
    bool printable() const;
    QPageSize pageSize() const;

    // Texts for lists: "63,5 × 38,1 mm", "3 × 7", "A4" (or the paper's size).
    QString sizeText() const;
    QString gridText() const;
    QString paperText() const;

    friend bool operator==(const LabelStock&, const LabelStock&) = default;
};

// Millimetres as a Polish decimal: 63.5 → "63,5".
QString millimetresText(double millimetres);
// Hundredths of a millimetre on paper in layout pixels, which print 1/100 inch each.
int stockPixels(int hundredths);
// The whole millimetres of the settings nearest to hundredths of a millimetre on paper: the
// settings' millimetres print at 97.46 % of their value.
int nearestWholeMillimetres(int hundredths);
