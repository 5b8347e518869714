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

// Why `settings` cannot be a real printer's: a resolution outside 60..4800 dots per inch, a paper
// side under 10 mm, or margins that are negative or leave no printable area. Empty when they can.
QString settingsFlaw(const PrintSettings& settings);

// The vertical resolution in a driver's resolution text ("600dpi", "600x1200dpi"); 0 for none.
int resolutionFromText(const QString& text);
