#include "platform/printing/qtprintersetupdialog.h"

#include "platform/printing/cupsprinterbackend.h"
#include "platform/printing/devmode.h"
#include "platform/printing/qprintersettings.h"

#include <QComboBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTimer>

namespace {

// The resolution that the driver option "Resolution" (as the printer's properties set it)
// chooses, or `otherwise`.
int chosenResolution(const QStringList& cupsOptions, int otherwise)
{
    const qsizetype name = cupsOptions.indexOf(QStringLiteral("Resolution"));
    if (name < 0 || name % 2 != 0 || name + 1 >= cupsOptions.size())
        return otherwise;
    const int chosen = resolutionFromText(cupsOptions[name + 1]);
    return chosen > 0 ? chosen : otherwise;
}

// Page range and copies are not settings of the printer: their tab goes. Qt offers no option
// for the copies, so the tab is found by the name Qt gives it.
void removeCopiesTab(QPrintDialog& dialog)
{
    auto* copies = dialog.findChild<QWidget*>(QStringLiteral("copiesTab"));
    for (auto* tabs : dialog.findChildren<QTabWidget*>())
        if (const int index = tabs->indexOf(copies); index >= 0)
            tabs->removeTab(index);
}

// Qt opens on the default printer even for PDF output; "Print to File (PDF)" is its last entry.
void selectPrintToFile(QPrintDialog& dialog)
{
    if (auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers")))
        printers->setCurrentIndex(printers->count() - 1);
}

// Qt adds the options of a print job (pages per sheet, banners, priority, ...) to the printer's
// own; the settings block keeps only the printer's.
QStringList printerOptions(const QStringList& cupsOptions)
{
    static const QStringList jobOptions{"number-up",    "number-up-layout", "job-billing",
                                        "job-priority", "job-sheets",       "job-hold-until",
                                        "page-ranges",  "page-set",         "outputorder"};
    QStringList options;
    for (qsizetype i = 0; i + 1 < cupsOptions.size(); i += 2)
        if (!jobOptions.contains(cupsOptions[i]))
            options << cupsOptions[i] << cupsOptions[i + 1];
    return options;
}

} // namespace

std::optional<PrinterSetupChoice> QtPrinterSetupDialog::exec(const QList<PrinterInfo>& printers,
                                                             const QString& printer,
                                                             const QByteArray& settings)
{
    const PrintSettings current = DevMode::decode(settings);
    QPrinter qprinter(QPrinter::HighResolution);
    if (printer == CupsPrinterBackend::filePrinterName())
        qprinter.setOutputFormat(QPrinter::PdfFormat);
    else
        qprinter.setPrinterName(printer);
    applyPrintSettings(current, qprinter);

    QPrintDialog dialog(&qprinter);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    removeCopiesTab(dialog);
    if (printer == CupsPrinterBackend::filePrinterName()) // once the dialog has filled its list
        QTimer::singleShot(0, &dialog, [&dialog] { selectPrintToFile(dialog); });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;

    const QString chosen = qprinter.outputFormat() == QPrinter::PdfFormat
                               ? CupsPrinterBackend::filePrinterName()
                               : qprinter.printerName();
    // Qt reports its own resolution for every printer; the printer's comes from its driver.
    int resolution = current.resolution;
    if (chosen != printer) {
        for (const PrinterInfo& info : printers)
            if (info.listName == chosen)
                resolution = DevMode::decode(m_backend.driverSettings(info)).resolution;
    }
    PrintSettings edited = printSettingsOf(qprinter);
    edited.deviceName = chosen;
    edited.cupsOptions = printerOptions(edited.cupsOptions);
    edited.resolution = chosenResolution(edited.cupsOptions, resolution);
    return PrinterSetupChoice{chosen, DevMode::encode(edited)};
}
