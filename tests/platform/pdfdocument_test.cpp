#include "platform/pdfdocument.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The page rasterised by poppler at `dpi`, one byte of grey per pixel.
QImage rasterise(const QString& pdf, int dpi)
{
    QImageReader::setAllocationLimit(0);
    const QString prefix = pdf + QStringLiteral("-page");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-gray", "-r", QString::number(dpi), "-singlefile", pdf, prefix});
    return QImage(prefix + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

// The first dark pixel from the page's top-left corner, along the row and the column through
// the middle of a square drawn there.
QPoint firstDarkPixel(const QImage& page, int across)
{
    const auto dark = [&page](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
    int x = 0;
    while (x < page.width() && !dark(x, across))
        ++x;
    int y = 0;
    while (y < page.height() && !dark(across, y))
        ++y;
    return {x, y};
}

// A queue whose printable area starts 5.00 mm from the left and 8.00 mm from the top: the
// painter's origin lies there, to the printer's dot.
TEST(PdfDocument, TheOriginIsTheCornerOfThePrintableAreaToTheDot)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    const struct {
        int dpi;
        QPoint origin; // the margins in whole dots
    } cases[] = {{300, {59, 94}}, {600, {118, 189}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        PrintSettings settings;
        settings.pageSize = QPageSize(QPageSize::A6);
        settings.resolution = c.dpi;
        settings.margins = QMarginsF(5, 8, 4, 6);
        const QString pdf = dir.filePath(QStringLiteral("page%1.pdf").arg(c.dpi));
        {
            auto file = std::make_unique<QFile>(pdf);
            ASSERT_TRUE(file->open(QIODevice::WriteOnly));
            PdfDocument document(std::move(file), settings, QStringLiteral("ZELK"),
                                 [](QFileDevice& written) { written.flush(); });
            document.painter().fillRect(QRect(0, 0, 400, 400), Qt::black);
            document.end();
        }
        const QPoint found = firstDarkPixel(rasterise(pdf, c.dpi), 200 + c.origin.y());
        EXPECT_EQ(std::pair(found.x(), found.y()), std::pair(c.origin.x(), c.origin.y()));
    }
}

} // namespace
