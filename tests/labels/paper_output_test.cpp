// Sheets printed through the real printers: the built-in "Plik PDF" on a machine without CUPS
// and, where a CUPS scheduler with a cups-pdf queue runs (scripts/start-cups.sh), that queue. The
// output is read back with poppler's tools and ZXing.
#include "failat.h"
#include "platform/printing/cupsprinterbackend.h"
#include "printingfixture.h"

#include <algorithm>
#include <cups/cups.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <sys/stat.h>
#include <unistd.h>
#include <ZXing/ReadBarcode.h>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QImage rasterise(const QString& pdf, int dpi, const QString& folder)
{
    QImageReader::setAllocationLimit(0); // an A4 page at 600 dpi is beyond Qt's default
    const QString prefix = folder + QStringLiteral("/page%1").arg(dpi);
    run(QStringLiteral("pdftoppm"),
        {"-gray", "-r", QString::number(dpi), "-singlefile", pdf, prefix});
    return QImage(prefix + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

// The barcode read from each label's barcode strip, inside its frame; `scale` maps layout pixels
// to pixels of the page image.
QStringList barcodes(const QImage& page, const QList<TNalepka>& labels, double scale)
{
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::ITF);
    hints.setTryHarder(true);
    QStringList texts;
    for (const TNalepka& label : labels) {
        const QRect strip = QRectF(QPointF(label.Ramka1X + 2, label.BarT) * scale,
                                   QPointF(label.Ramka2X - 2, label.BarT + label.BarH) * scale)
                                .toRect();
        const QImage cell = page.copy(strip);
        const ZXing::ImageView view(cell.constBits(), cell.width(), cell.height(),
                                    ZXing::ImageFormat::Lum, int(cell.bytesPerLine()));
        texts << QString::fromStdWString(ZXing::ReadBarcode(view, hints).text());
    }
    return texts;
}

QStringList pdfFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

class PaperOutput : public FilePrinterFixture {
protected:
    QStringList identifiers() const
    {
        QStringList list;
        for (int i = 0; i < 24; ++i)
            list << identifier(i);
        return list;
    }

    void printSheet(const QString& printer, bool failOnSeventhLabel = false)
    {
        labels->settings.PrinterName = printer;
        labels->restorePrinter(); // as at start-up
        compose(24);
        composed = labels->queue.ListaNal;
        if (failOnSeventhLabel)
            labels->queue.ListaNal[6].Numer = QString(400, u'9');
        dialogs.answer(MessageAnswer::No);
        printQueue();
    }

    void expectBarcodesAtBothResolutions(const QString& pdf)
    {
        for (int dpi : {300, 600}) {
            SCOPED_TRACE(dpi);
            // Layout pixels are korppi printer dots, that is dpi / 100 pixels of the raster.
            EXPECT_EQ(barcodes(rasterise(pdf, dpi, dir.path()), composed, dpi / 100.0),
                      identifiers());
        }
    }

    QList<TNalepka> composed;
};

TEST_F(PaperOutput, PlikPdfWritesEachSheetAsAFile)
{
    ASSERT_EQ(labels->printer().printers(), QStringList{CupsPrinterBackend::filePrinterName()});
    printSheet(CupsPrinterBackend::filePrinterName());
    const QString folder = labels->paths.FilePath + QStringLiteral("wydruki/");
    const QStringList files = pdfFiles(folder);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression(
                    R"(^ZELK - Kody kreskowe \d{4}-\d\d-\d\d \d\d\.\d\d\.\d\d strona 1\.pdf$)")
                    .match(files[0])
                    .hasMatch())
        << qPrintable(files[0]);
    const QString pdf = folder + files[0];

    const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const QString& id : identifiers()) {
        const QString formatted = QStringLiteral("%1-%2-%3-%4")
                                      .arg(id.left(3), id.mid(3, 6), id.mid(9, 2), id.mid(11, 1));
        EXPECT_TRUE(text.contains(formatted)) << qPrintable(formatted);
    }
    expectBarcodesAtBothResolutions(pdf);
}

TEST_F(PaperOutput, AnAbortedSheetLeavesNoFile)
{
    printSheet(CupsPrinterBackend::filePrinterName(), true);
    EXPECT_TRUE(pdfFiles(labels->paths.FilePath + QStringLiteral("wydruki/")).isEmpty());
    EXPECT_TRUE(QDir(labels->paths.FilePath + QStringLiteral("wydruki/"))
                    .entryList(QDir::Files | QDir::Hidden)
                    .isEmpty());
}

// Each further sheet of a run costs three flushes: its journal record, its PDF and the PDF's
// folder.
TEST_F(PaperOutput, PlikPdfFlushesThreeTimesASheet)
{
    labels->settings.PrinterName = CupsPrinterBackend::filePrinterName();
    labels->restorePrinter();
    labels->askNothing = true;
    compose(1000);
    const auto flushesOfRun = [&](int sheets) {
        zelk_count_flushes(qPrintable(dir.path()));
        labels->DrukujStrone(sheets * 24 - 1, false);
        return zelk_count_flushes(nullptr);
    };
    flushesOfRun(1); // starts the journal
    const long one = flushesOfRun(1);
    const long four = flushesOfRun(4);
    EXPECT_EQ(four - one, 3 * 3);
    EXPECT_EQ(pdfFiles(labels->paths.FilePath + QStringLiteral("wydruki/")).size(), 6);
}

// A print folder that cannot take the sheet is reported as such, not as a missing printer.
TEST_F(PaperOutput, AFolderThatCannotTakeTheSheetIsNamed)
{
    const QString folder = labels->paths.FilePath + QStringLiteral("wydruki");
    const QByteArray path = QFile::encodeName(folder);
    for (const auto& [obstacle, make] :
         std::initializer_list<std::pair<const char*, std::function<int()>>>{
             {"fifo", [&] { return ::mkfifo(path, 0644); }},
             {"link", [&] { return ::symlink(QFile::encodeName(dir.path()), path); }},
             {"file", [&] { return QFile(folder).open(QIODevice::WriteOnly) ? 0 : -1; }}}) {
        SCOPED_TRACE(obstacle);
        ASSERT_EQ(make(), 0);
        dialogs.clear();
        printSheet(CupsPrinterBackend::filePrinterName());
        ASSERT_FALSE(dialogs.shown().isEmpty());
        EXPECT_TRUE(dialogs.shown()[0].text.startsWith("Nie można zapisać pliku " + folder))
            << qPrintable(dialogs.shown()[0].text);
        ::unlink(path);
    }
}

// The cups-pdf queue that scripts/start-cups.sh prepares.
class CupsQueue : public PaperOutput {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("cupsd")).isEmpty() ||
            !QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
            GTEST_SKIP() << "cups and printer-driver-cups-pdf are not installed";
        if (run(QStringLiteral("lpstat"), {"-p", queue}).isEmpty())
            GTEST_SKIP() << "no queue " << qPrintable(queue) << ": run scripts/start-cups.sh";
        PaperOutput::SetUp();
        cupsSetServer(nullptr);
        before = pdfFiles(output);
    }

    static QString fromEnvironment(const char* name, const QString& otherwise)
    {
        const QString value = qEnvironmentVariable(name);
        return value.isEmpty() ? otherwise : value;
    }

    // Waits until the queue is empty and cups-pdf has written something new, complete.
    QStringList newFiles()
    {
        QElapsedTimer clock;
        clock.start();
        while (!run(QStringLiteral("lpstat"), {"-o", queue}).trimmed().isEmpty() &&
               clock.elapsed() < 30000)
            QThread::msleep(100);
        QStringList added;
        qint64 lastSize = -1;
        while (clock.elapsed() < 30000) {
            added = pdfFiles(output);
            for (const QString& old : before)
                added.removeAll(old);
            const qint64 size = added.isEmpty() ? 0 : QFileInfo(output + added[0]).size();
            if (size > 0 && size == lastSize)
                break;
            lastSize = size;
            QThread::msleep(300);
        }
        return added;
    }

    QString queue = fromEnvironment("ZELK_CUPS_QUEUE", QStringLiteral("zelk-pdf"));
    QString output = fromEnvironment("ZELK_CUPS_OUT", QStringLiteral("/tmp/zelk-cups-pdf")) + '/';
    QStringList before;
};

TEST_F(CupsQueue, PrintsASheetThatDecodesAtPrinterResolutions)
{
    printSheet(queue);
    const QStringList added = newFiles();
    ASSERT_EQ(added.size(), 1);
    expectBarcodesAtBothResolutions(output + added[0]);
}

TEST_F(CupsQueue, AnAbortedSheetNeverReachesTheQueue)
{
    printSheet(queue, true);
    QThread::msleep(1500);
    EXPECT_TRUE(run(QStringLiteral("lpstat"), {"-o", queue}).trimmed().isEmpty());
    QStringList added = pdfFiles(output);
    for (const QString& old : before)
        added.removeAll(old);
    EXPECT_TRUE(added.isEmpty());
}

} // namespace
