#pragma once

#include "platform/printing/printerbackend.h"

// The printers of a Linux desktop: the CUPS destinations in CUPS order, then the printer
// "Plik PDF", which writes each print job as a PDF file into a folder. The system's default
// printer is the CUPS default, or "Plik PDF" when CUPS has none.
//
// A document is painted into a temporary PDF file at the printer's resolution; ending it sends
// the file to CUPS as a held job, released once the caller has recorded it, or writes it into
// the folder of "Plik PDF"; aborting it deletes it.
class CupsPrinterBackend : public PrinterBackend {
public:
    static QString filePrinterName() { return QStringLiteral("Plik PDF"); }

    QList<PrinterInfo> printers() override;
    int defaultPrinter() override;
    QByteArray driverSettings(const PrinterInfo& printer) override;
    std::unique_ptr<PrintDocument> startDocument(const PrinterInfo& printer,
                                                 const QByteArray& settings, const QString& title,
                                                 int sheet) override;
    void setFileFolder(const QString& folder) override { m_fileFolder = folder; }
    SheetFate settleSheet(const QString& destination, bool accepted) override;
    PaperOnPrinter paperOn(const PrinterInfo& printer, const QPageSize& paper) override;

    // The PDF files "Plik PDF" has written so far, in order.
    const QStringList& writtenFiles() const { return m_writtenFiles; }

private:
    QString m_fileFolder;
    QStringList m_writtenFiles;
};
