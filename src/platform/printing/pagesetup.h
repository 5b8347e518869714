#pragma once

#include <optional>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

// The page a printer prints a document on: the paper as it lies (millimetres), the unprintable
// margin it reports along each edge (millimetres), and its resolution. The painter's origin is the
// corner of the printable area, `margins` right and down from the paper's corner.
struct PageSetup {
    QSizeF paper{210, 297};
    QMarginsF margins;
    int resolution = 300;
};

// A paper as a printer knows it: its name for a print job's media option (empty when it has
// none) and the unprintable margin it reports on it, when it reports one.
struct PaperOnPrinter {
    QString media;
    std::optional<QMarginsF> margins;
};

// What a printer does wrong in placing what it prints, to be cancelled out: everything it prints
// moves right and down by tenths of a millimetre and is scaled, in hundredths of a percent, from
// the paper's corner.
struct PrinterCorrection {
    int right = 0;
    int down = 0;
    int scaleX = 10000;
    int scaleY = 10000;

    bool isNone() const { return *this == PrinterCorrection(); }
    friend bool operator==(const PrinterCorrection&, const PrinterCorrection&) = default;
};
