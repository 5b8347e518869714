#include "platform/printing/pdfdocument.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A queue whose printable area starts 5.00 mm from the left and 8.00 mm from the top: a square
// drawn at the origin begins there to the printer's dot, 59 and 94 dots in at 300 dpi (Qt's
// margins in whole points put it at 58 and 96).
TEST(PdfDocument, TheOriginIsTheCornerOfThePrintableAreaToTheDot)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    PrintSettings settings;
    settings.pageSize = QPageSize(QPageSize::A6);
    settings.margins = QMarginsF(5, 8, 4, 6);
    {
        auto file = std::make_unique<QFile>(pdf);
        ASSERT_TRUE(file->open(QIODevice::WriteOnly));
        PdfDocument document(
            std::move(file), settings, QStringLiteral("ZELK"),
            [](QIODevice& written, const SheetHandOver&) { static_cast<QFile&>(written).flush(); });
        document.painter().fillRect(QRect(0, 0, 400, 400), Qt::black);
        document.end({});
    }
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-gray", "-r", "300", "-singlefile", pdf, pdf + QStringLiteral("-page")});
    const QImage page(pdf + QStringLiteral("-page.pgm"));
    const auto dark = [&page](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
    int left = 0, top = 0;
    while (left < page.width() && !dark(left, 300))
        ++left;
    while (top < page.height() && !dark(300, top))
        ++top;
    EXPECT_EQ(std::pair(left, top), std::pair(59, 94));
}

} // namespace
