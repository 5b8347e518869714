#pragma once

#include "platform/apperror.h"
#include "platform/printing/pagesetup.h"

#include <functional>
#include <memory>
#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QString>

class QPainter;

// A printer that cannot be used: none is installed or selected, or a job cannot be started or
// sent.
class PrinterError : public AppError {
public:
    using AppError::AppError;
};

// A sheet's file could not be written (a full disk, a print folder that is no folder): the
// printer is fine, and the text says what went wrong.
class SheetNotWritten : public AppError {
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

// A sheet handed to a printer, told step by step, so that the caller's own record of it commits
// together with the printer.
struct SheetHandOver {
    // The sheet's destination is fixed and nothing of it can print yet: the PDF file's name and
    // the digest of its content, or the held job of a print queue that is about to be created,
    // by its title. What `prepared` raises drops the sheet (no job is created) and passes
    // through.
    std::function<void(const QString& destination)> prepared = [](const QString&) {};
    // The printer has the sheet: the PDF stands complete under its name, flushed with its folder
    // (`held` false: the file is its own evidence from now on), or the held job holds the whole
    // document (`held`: it prints once released, so what the caller records of it must reach the
    // disk first). What `accepted` raises drops the sheet again (the file is removed, the job
    // cancelled) and passes through.
    std::function<void(bool held)> accepted = [](bool) {};
    // The sheet may print now: the held job was released (a file needs no release).
    std::function<void()> released = [] {};
};

// What became of a sheet whose record a kill may have cut short.
enum class SheetFate {
    NotPrinted,
    Printed,
    ReleasePending, // accepted, but its held job could not be released yet
};

// One print job while it is drawn. A document that is destroyed neither ended nor aborted is
// aborted: nothing of it reaches the printer.
class PrintDocument {
public:
    virtual ~PrintDocument() = default;
    // Paints on the page at the printer's resolution, origin at the corner of the printable area.
    virtual QPainter& painter() = 0;
    // Sends the job to the printer in the steps of `handOver`. Failures of the printer raise
    // PrinterError; what the steps raise passes through. Either way the sheet does not print.
    virtual void end(const SheetHandOver& handOver) = 0;
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
    // What became of a sheet handed over to `destination` (as `prepared` named it) by a process
    // that may have been killed since. With `accepted`, the printer had it and a held job is
    // released now; without, the evidence decides: a PDF file complete under its name counts as
    // printed, a held job is cancelled.
    virtual SheetFate settleSheet(const QString& destination, bool accepted) = 0;
    // What the printer knows of `paper`: its name for the job's media and the unprintable margin
    // it reports on it. A printer that knows nothing of papers answers nothing.
    virtual PaperOnPrinter paperOn(const PrinterInfo&, const QPageSize&) { return {}; }
};
