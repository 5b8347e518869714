#pragma once

#include "platform/printing/printersetupdialog.h"

// The printer-setup dialog as Qt's print dialog: the printer choice and the printer's
// properties, without page range and copies. "Print to file (PDF)" stands for "Plik PDF".
class QtPrinterSetupDialog : public PrinterSetupDialog {
public:
    explicit QtPrinterSetupDialog(PrinterBackend& backend)
        : m_backend(backend)
    {
    }

    std::optional<PrinterSetupChoice> exec(const QList<PrinterInfo>& printers,
                                           const QString& printer,
                                           const QByteArray& settings) override;

private:
    PrinterBackend& m_backend;
};
