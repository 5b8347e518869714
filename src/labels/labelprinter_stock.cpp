// Placing labels on paper: the stock's paper and the printer's correction for a run's documents,
// where each label's frame stands, the page's edge for the preview, and the calibration page.
#include "labels/labelprinter.h"

#include "labels/calibrationpage.h"
#include "labels/pixels.h"
#include "labels/stocksettings.h"

#include <cmath>
#include <QScopeGuard>

PixelGeometry geometryOf(const Settings& settings)
{
    PixelGeometry geometry{mmToPixels(settings.SzerNalI), mmToPixels(settings.WysNalI),
                           mmToPixels(settings.MargLI),   mmToPixels(settings.MargGI),
                           mmToPixels(settings.MargMII),  mmToPixels(settings.MargMOI),
                           mmToPixels(settings.SzerKKI)};
    if (const std::optional<LabelStock>& stock = settings.stock) {
        geometry.PixSzerN = stockPixels(stock->width);
        geometry.PixWysN = stockPixels(stock->height);
        geometry.PixMargL = stockPixels(stock->left);
        geometry.PixMargG = stockPixels(stock->top);
        // A single column or row has no pitch to speak of.
        geometry.PixMargMI = qMax(0, stockPixels(stock->columnPitch) - geometry.PixSzerN);
        geometry.PixMargMO = qMax(0, stockPixels(stock->rowPitch) - geometry.PixWysN);
    }
    return geometry;
}

PageSetup LabelPrinter::pageInPrinter()
{
    MorvalenDefaultPrinter& installed = printer();
    installed.setPaper(settings.stock ? std::optional(settings.stock->pageSize()) : std::nullopt);
    return installed.pageSetup();
}

void LabelPrinter::preparePaper()
{
    m_page = pageInPrinter();
    const QString printerName = printerInUse();
    printer().setCorrection(correctionOf(settings.corrections, printerName));
    if (const QString off = sheetOnPaper().offPage(printerName); !off.isEmpty())
        throw GridOffPage(off);
}

SheetOnPaper LabelPrinter::sheetOnPaper() const
{
    return SheetOnPaper(settings, pageGrid(), geometry.PixSzerKK, m_page);
}

QRect LabelPrinter::frameOnPaper(int i) const
{
    return sheetOnPaper().frame(queue.usedPlaces + i);
}

std::optional<QPointF> LabelPrinter::paperEdge()
{
    try {
        return SheetOnPaper(settings, pageGrid(), geometry.PixSzerKK, pageInPrinter()).paperEdge();
    } catch (const PrinterError&) {
        return std::nullopt; // no printer, no paper
    }
}

void LabelPrinter::printCalibrationPage(const std::optional<LabelStock>& stock)
{
    // The sheet is the stock's for this page only.
    const Settings kept = settings;
    const PixelGeometry keptGeometry = geometry;
    MorvalenDefaultPrinter& installed = printer();
    const auto restore = qScopeGuard([&] {
        if (installed.printing())
            installed.abort();
        settings = kept;
        geometry = keptGeometry;
    });
    if (stock)
        useStock(settings, *stock);
    geometry = geometryOf(settings);
    if (m_services.printers)
        m_services.printers->setFileFolder(printFolder());
    try {
        applyPrinterSettings();
        preparePaper();
        installed.beginDoc(QStringLiteral("ZELK - Strona kalibracyjna"));
    } catch (const PrinterError&) {
        BrakDrukarki();
        return;
    }
    const SheetOnPaper sheet = sheetOnPaper();
    CalibrationPage page{{}, m_page.resolution, {}};
    for (int place = 0; place < settings.labelsPerSheet(); ++place)
        page.frames << sheet.frame(place);
    const QRect between(page.frames.front().topLeft(), page.frames.back().bottomRight());
    const double millimetresPerDot = 25.4 / m_page.resolution;
    page.caption =
        QStringLiteral("Strona kalibracyjna: %1, drukarka „%2”, korekta %3.\nOdległość między "
                       "krzyżykami: %4 × %5 mm.")
            .arg(settings.stock ? settings.stock->name() : QStringLiteral("układ z ustawień"),
                 printerInUse(), correctionText(correctionOf(settings.corrections, printerInUse())),
                 millimetresText(std::round(between.width() * millimetresPerDot * 100) / 100),
                 millimetresText(std::round(between.height() * millimetresPerDot * 100) / 100));
    drawCalibrationPage(installed.canvas(), page);
    installed.endDoc();
}
