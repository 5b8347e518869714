#pragma once

#include "labels/pagegrid.h"
#include "labels/settings.h"
#include "platform/apperror.h"
#include "platform/printing/pagesetup.h"

#include <QPointF>
#include <QRect>

// The grid leaves the page: no label of the run prints.
class GridOffPage : public AppError {
public:
    using AppError::AppError;
};

// Where the labels of a sheet stand on a printer's page, in its dots from the painter's origin,
// the corner of the printable area. With a stock each label stands where its maker put it,
// measured from the paper's edge; without one, the layout pixels are scaled from the origin.
class SheetOnPaper {
public:
    SheetOnPaper(const Settings& settings, const PageGrid& grid, int barcodeWidth,
                 const PageSetup& page);

    // The frame of the label at `place` (0 …, row by row).
    QRect frame(int place) const;
    // The first column or row whose labels leave the paper, or what the printer `printer` can
    // print of it, named; empty when the grid stays on the page. What must print of a label is
    // its frame, or without one its barcode across and its lines of text down.
    QString offPage(const QString& printer) const;
    // The paper's right and bottom edges in layout pixels, as the preview draws the sheet.
    QPointF paperEdge() const;

private:
    QRect printed(int place) const;
    QString offPaper(int place, const QString& name) const;
    QString offPrintableArea(int place, const QString& name, const QString& printer) const;
    QRectF onPaper(const QRect& dots) const; // millimetres from the paper's corner
    int marginDots(double millimetres) const;

    const Settings& m_settings;
    PageGrid m_grid;
    int m_barcodeWidth;
    PageSetup m_page;
};
