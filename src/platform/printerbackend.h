#pragma once

#include "platform/apperror.h"

#include <functional>
#include <memory>
#include <QByteArray>
#include <QList>
#include <QString>

class QPainter;

// A printer that cannot be used: none is installed or selected, or a job cannot be started or
// sent.
class PrinterError : public AppError {
public:
    using AppError::AppError;
};

// One installed printer as the system lists it.
struct PrinterInfo {
    QString listName; // the name shown in lists: the printer's name, or a name, " on " and a port
    QString device;
    QString driver;
    QString port;

    friend bool operator==(const PrinterInfo&, const PrinterInfo&) = default;
};

// One print job while it is drawn. A document that is destroyed neither ended nor aborted is
// aborted: nothing of it reaches the printer.
class PrintDocument {
public:
    virtual ~PrintDocument() = default;
    // Paints on the page at the printer's resolution, origin at the corner of the printable area.
    virtual QPainter& painter() = 0;
    // Sends the job to the printer and calls `accepted` the moment the printer has it (a print
    // queue gave the job its number, a file stands complete under its name), before any work
    // that only makes that last, so that the caller's own record follows at once. Failures
    // before that point raise PrinterError; what `accepted` raises passes through.
    virtual void end(const std::function<void()>& accepted) = 0;
    // Discards what was drawn.
    virtual void abort() = 0;
};

// The platform half of the printer object: the installed printers, their driver settings and
// their print jobs.
class PrinterBackend {
public:
    virtual ~PrinterBackend() = default;
    // The installed printers in the system's order.
    virtual QList<PrinterInfo> printers() = 0;
    // The index in printers() of the system's default printer, -1 when there is none.
    virtual int defaultPrinter() = 0;
    // A fresh settings block from the printer's driver: its current settings.
    virtual QByteArray driverSettings(const PrinterInfo& printer) = 0;
    // Starts a document with the given settings block. `sheet` numbers the documents of one print
    // run from 1; a printer that writes files uses it in the file's name. Failures raise
    // PrinterError.
    virtual std::unique_ptr<PrintDocument> startDocument(const PrinterInfo& printer,
                                                         const QByteArray& settings,
                                                         const QString& title, int sheet) = 0;
    // The folder where the file printer writes its documents.
    virtual void setFileFolder(const QString& folder) = 0;
};
