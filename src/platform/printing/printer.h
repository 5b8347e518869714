#pragma once

#include "platform/printing/pagesetup.h"
#include "platform/printing/printerbackend.h"

#include <memory>
#include <optional>
#include <QStringList>

class PrinterSetupDialog;

// The printer object: the installed printers, the current one with the settings block obtained
// from its driver, and the print job being drawn. A document is created from the current block
// when it starts, so changes made to the block in place take effect at the next document.
class Printer {
public:
    // Without a backend no printer is installed.
    explicit Printer(PrinterBackend* backend);
    virtual ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The list names of the installed printers, in the system's order, read once.
    QStringList printers();
    // The current printer; while none is selected, this selects the system's default printer.
    int printerIndex();
    // The list name of the printer the next document goes to: the current one, or while none is
    // selected the system's default, which this does not select. Empty when there is none.
    QString printerInUse();
    // -1 selects the system's default printer. Selecting a different printer obtains a fresh
    // settings block from its driver; selecting the current one changes nothing.
    void setPrinterIndex(int index);

    struct Device {
        QString device;
        QString driver;
        QString port;
        QByteArray* settings; // the current printer's settings block, owned by the printer object
    };
    Device currentDevice();
    // Makes the printer with this device name current with `settings`, or, without them, with a
    // fresh block from its driver.
    void setDevice(const QString& device, const QString& driver, const QString& port,
                   const std::optional<QByteArray>& settings);

    // Shows the setup dialog on the current printer and a copy of its block; on OK the chosen
    // printer becomes current with the block the user edited. False when cancelled.
    bool setup(PrinterSetupDialog& dialog);

    // The paper the next documents are printed on in place of the one the settings block names
    // (none: the block's), upright, with the unprintable margin the printer reports on it.
    void setPaper(const std::optional<QPageSize>& paper) { m_paper = paper; }
    // Cancels out the printer's error in placing what it prints, from the next document on.
    void setCorrection(const PrinterCorrection& correction) { m_correction = correction; }
    // The page the next document is printed on.
    PageSetup pageSetup();

    // `sheet` numbers the documents of one print run (a file printer puts it in the file name).
    void beginDoc(const QString& title, int sheet = 1);
    // Ends the document, which hands the sheet to the printer in the steps of `handOver`.
    void endDoc(const SheetHandOver& handOver = {});
    void abort();
    bool printing() const { return m_document != nullptr; }
    QPainter& canvas();

private:
    const QList<PrinterInfo>& installed();
    int indexOfListName(const QString& listName);
    int defaultIndex(); // the system's default printer, -1 when there is none
    void select(int index, const std::optional<QByteArray>& settings);
    void checkPrinting(bool expected) const;
    QByteArray documentSettings(); // the settings block of the next document

    PrinterBackend* m_backend;
    std::optional<QList<PrinterInfo>> m_installed;
    int m_index = -1;
    QByteArray m_settings;
    std::optional<QPageSize> m_paper;
    PrinterCorrection m_correction;
    std::unique_ptr<PrintDocument> m_document;
};
