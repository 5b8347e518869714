#pragma once

#include "platform/printing/printerbackend.h"
#include "platform/printing/printsettings.h"

#include <functional>
#include <memory>
#include <QIODevice>
#include <QPainter>

class QPdfWriter;

// One page painted as PDF into a device (a file or memory) at the printer's resolution, origin
// at the corner of the printable area. Ending it finishes the PDF and hands it on; aborting it
// (or destroying it before it ended) discards the device.
class PdfDocument : public PrintDocument {
public:
    using Finish = std::function<void(QIODevice& file, const SheetHandOver& handOver)>;

    PdfDocument(std::unique_ptr<QIODevice> file, const PrintSettings& settings,
                const QString& title, Finish finish);
    ~PdfDocument() override;

    QPainter& painter() override { return m_painter; }
    void end(const SheetHandOver& handOver) override;
    void abort() override;

private:
    std::unique_ptr<QIODevice> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    Finish m_finish;
};
