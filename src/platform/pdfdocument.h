#pragma once

#include "platform/printerbackend.h"
#include "platform/printsettings.h"

#include <functional>
#include <memory>
#include <QFileDevice>
#include <QPainter>

class QPdfWriter;

// One page painted into a PDF file at the printer's resolution, origin at the corner of the
// printable area. Ending it finishes the file and hands it on; aborting it (or destroying it
// before it ended) discards the file.
class PdfDocument : public PrintDocument {
public:
    using Finish = std::function<void(QFileDevice& file)>;

    PdfDocument(std::unique_ptr<QFileDevice> file, const PrintSettings& settings,
                const QString& title, Finish finish);
    ~PdfDocument() override;

    QPainter& painter() override { return m_painter; }
    void end() override;
    void abort() override;

private:
    std::unique_ptr<QFileDevice> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    Finish m_finish;
};
