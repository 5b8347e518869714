#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QStringList>

// What a printer's settings block says, in Qt's terms.
struct PrintSettings {
    QString deviceName;
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins; // the driver's hardware margins in millimetres
    int copies = 1;
    QPrinter::PaperSource paperSource = QPrinter::Auto;
    int resolution = 300; // dots per inch
    QPrinter::ColorMode colorMode = QPrinter::Color;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QStringList cupsOptions; // name, value, name, value, ...

    friend bool operator==(const PrintSettings&, const PrintSettings&) = default;
};

// The vertical resolution in a driver's resolution text ("600dpi", "600x1200dpi"); 0 for none.
int resolutionFromText(const QString& text);
