#pragma once

#include "platform/printing/printerbackend.h"
#include "platform/printing/printersetupdialog.h"

#include <deque>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QRectF>

// One drawing call on a recorded page, in device pixels.
struct DrawCall {
    enum Kind { Text, Rect, Image };
    Kind kind = Rect;
    QRectF rect;         // rectangles and images; for text, its baseline origin in topLeft()
    QString text;        // text
    QFont font;          // text
    QColor brush;        // rectangles: fill colour (invalid for none)
    QColor pen;          // rectangles: outline colour (invalid for none)
    bool opaque = false; // text: drawn on an opaque background
    QImage image;        // images
};

struct RecordedDocument {
    enum State { Open, Ended, Aborted };
    QString printer; // list name
    QString title;
    int sheet = 0;
    QByteArray settings;
    int resolution = 0;
    State state = Open;
    QList<DrawCall> calls;

    QStringList texts() const;
    QList<DrawCall> rects() const;
};

// A printer backend whose printers are named in the test, whose driver settings are made up from
// a resolution, and whose documents are recorded call by call.
class RecordingPrinterBackend : public PrinterBackend {
public:
    // Printers "name" or "name on port", each with the resolution its driver reports.
    struct Installed {
        QString listName;
        int resolution = 300;
        int driverExtra = -1; // another size of the driver's private part; -1: our own driver
    };
    explicit RecordingPrinterBackend(QList<Installed> installed = {Installed{
                                         QStringLiteral("Etykiety"), 300, -1}},
                                     int defaultIndex = 0);

    QList<PrinterInfo> printers() override;
    int defaultPrinter() override { return defaultIndex; }
    QByteArray driverSettings(const PrinterInfo& printer) override;
    std::unique_ptr<PrintDocument> startDocument(const PrinterInfo& printer,
                                                 const QByteArray& settings, const QString& title,
                                                 int sheet) override;
    void setFileFolder(const QString& folder) override { fileFolder = folder; }
    SheetFate settleSheet(const QString&, bool accepted) override
    {
        return accepted ? SheetFate::Printed : SheetFate::NotPrinted;
    }

    QList<Installed> installed;
    int defaultIndex;
    bool failStart = false; // starting a document raises PrinterError
    int failFrom = 0;       // so does starting this sheet of a run or a later one (0: none)
    QMarginsF margins;      // the unprintable margin every driver reports, millimetres
    int driverSettingsCalls = 0;
    QString fileFolder;
    std::deque<RecordedDocument> documents;

    QList<RecordedDocument> ended() const;
};

// The printer-setup dialog answered from a script.
class ScriptedPrinterSetup : public PrinterSetupDialog {
public:
    std::optional<PrinterSetupChoice> exec(const QList<PrinterInfo>& printers,
                                           const QString& printer,
                                           const QByteArray& settings) override;

    std::deque<std::optional<PrinterSetupChoice>> answers; // nullopt: cancel
    QString openedOn;                                      // the printer the last dialog opened on
    QByteArray openedWith;                                 // and its settings
    int opened = 0;
};
