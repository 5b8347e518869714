#include "platform/printing/pdfdocument.h"

#include "platform/rounding.h"

#include <QPdfWriter>

namespace {

// Millimetres in whole dots of the printer, as a printer reports the offset of its printable
// area: the bars drawn from there stay on whole dots of the page.
int dots(double millimetres, int resolution)
{
    return roundHalfEven(millimetres / 25.4 * resolution);
}

} // namespace

PdfDocument::PdfDocument(std::unique_ptr<QIODevice> file, const PrintSettings& settings,
                         const QString& title, Finish finish)
    : m_file(std::move(file))
    , m_writer(std::make_unique<QPdfWriter>(m_file.get()))
    , m_finish(std::move(finish))
{
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("zelk_nal"));
    m_writer->setResolution(settings.resolution);
    // The whole page, with the origin moved to the printable area's corner by hand: Qt would
    // round the margins to whole points, up to 0.18 mm off.
    m_writer->setPageLayout(
        QPageLayout(settings.pageSize, settings.orientation, QMarginsF(), QPageLayout::Millimeter));
    if (!m_painter.begin(m_writer.get()))
        throw PrinterError(QStringLiteral("Cannot start the document \"%1\"").arg(title));
    m_painter.translate(dots(settings.margins.left(), settings.resolution),
                        dots(settings.margins.top(), settings.resolution));
}

PdfDocument::~PdfDocument()
{
    // A document that was not ended leaves nothing: the file goes with its device.
    if (m_painter.isActive())
        m_painter.end();
}

void PdfDocument::end(const SheetHandOver& handOver)
{
    m_painter.end();
    m_finish(*m_file, handOver);
}

void PdfDocument::abort()
{
    m_painter.end();
    m_writer.reset();
    m_file.reset(); // removes the temporary file
}
