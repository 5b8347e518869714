#include "platform/printing/qprintersettings.h"

#include <QPrintEngine>
#include <QPrinter>

namespace {

// The print engine property under which Qt's CUPS support keeps the options that the printer's
// properties dialog sets (name, value, name, value, ...).
const auto cupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

} // namespace

PrintSettings printSettingsOf(QPrinter& printer)
{
    PrintSettings settings;
    const QPageLayout layout = printer.pageLayout();
    settings.pageSize = layout.pageSize();
    settings.orientation = layout.orientation();
    settings.margins = layout.margins(QPageLayout::Millimeter);
    settings.copies = printer.copyCount();
    settings.paperSource = printer.paperSource();
    settings.resolution = printer.resolution();
    settings.colorMode = printer.colorMode();
    settings.duplex = printer.duplex();
    settings.cupsOptions = printer.printEngine()->property(cupsOptionsKey).toStringList();
    return settings;
}

void applyPrintSettings(const PrintSettings& settings, QPrinter& printer)
{
    printer.setPageSize(settings.pageSize);
    printer.setPageOrientation(settings.orientation);
    printer.setPageMargins(settings.margins, QPageLayout::Millimeter);
    printer.setCopyCount(settings.copies);
    printer.setPaperSource(settings.paperSource);
    printer.setResolution(settings.resolution);
    printer.setColorMode(settings.colorMode);
    printer.setDuplex(settings.duplex);
    if (!settings.cupsOptions.isEmpty())
        printer.printEngine()->setProperty(cupsOptionsKey, settings.cupsOptions);
}
