// A print run of 100 sheets (2,400 labels) to "Plik PDF" against the floor: a minimal program
// that writes the same sheets, a file each, with QPdfWriter (the same texts in the same fonts, the
// same bars drawn by the barcode painter) and does nothing else. Compared as processor time, in one
// run.
#include "barcode/tbarcode.h"
#include "benchdialogs.h"
#include "benchmode.h"
#include "labels/labelprinter.h"
#include "platform/printing/cupsprinterbackend.h"

#include <cstdio>
#include <ctime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

namespace {

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

QString identifier(int label)
{
    return QString::number(100000000000LL + label * 7919LL);
}

QString callNumber(int label)
{
    return QStringLiteral("II %1").arg(label);
}

// The program's run: the labels written to the buffer, taken and printed without questions.
// Returns the files written, or -1 when a label stayed queued or a message was shown.
qsizetype printWithTheProgram(const QString& folder, int labelCount)
{
    DecliningDialogs dialogs;
    CupsPrinterBackend printers;
    LabelPrinter labels(Services{&dialogs, nullptr, &printers, nullptr}, folder, {});
    labels.settings.PrinterName = CupsPrinterBackend::filePrinterName();
    labels.settings.BezWyswB = true;
    labels.OpenNal(QString());
    labels.restorePrinter();

    QFile buffer(labels.paths.NazwaPliku);
    if (!buffer.open(QIODevice::WriteOnly))
        return -1;
    for (int i = 0; i < labelCount; ++i)
        buffer.write((identifier(i) + u'|' + callNumber(i) + QStringLiteral("\r\n")).toUtf8());
    buffer.close();
    labels.takeBuffer();
    labels.ParametryNalepki();
    labels.RysujNal(false);
    labels.DrukujStrone(int(labels.queue.ListaLini.size()) - 1, false);
    if (!labels.queue.ListaLini.isEmpty() || dialogs.shown != 0)
        return -1;
    return QDir(labels.paths.FilePath + QStringLiteral("wydruki/"))
        .entryList({QStringLiteral("*.pdf")}, QDir::Files)
        .size();
}

// One sheet of the floor: the default layout (3 × 8 labels of 61 × 30 mm) at 300 dpi, in a
// file of its own, as the program prints each sheet as a job of its own.
void printFloorSheet(const QString& path, int firstLabel)
{
    const Settings layout;
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins({});
    writer.setResolution(300);
    QPainter painter(&writer);
    const auto dots = [](int mm) { return mm * 300 * 10 / 254; };
    for (int place = 0; place < layout.labelsPerSheet(); ++place) {
        const int label = firstLabel + place;
        const int left =
            dots(layout.MargLI + place % layout.IlKol * (layout.SzerNalI + layout.MargMII));
        const int top =
            dots(layout.MargGI + place / layout.IlKol * (layout.WysNalI + layout.MargMOI));
        painter.setFont(layout.NFont.toQFont());
        painter.drawText(left, top + 40, layout.NazBib1);
        painter.drawText(left, top + 90, layout.NazBib2);
        painter.setFont(layout.SFont.toQFont());
        painter.drawText(left, top + 150, callNumber(label));
        TBarcode bars;
        bars.setText(identifier(label));
        bars.setLeft(left + 20);
        bars.setTop(top + 170);
        bars.setHeight(80);
        bars.setModul(3);
        bars.DrawBarcode(painter);
        painter.setFont(layout.IFont.toQFont());
        painter.drawText(left + 20, top + 300, identifier(label));
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int sheets = shortRun(argc, argv) ? 2 : 100;
    const int labelCount = sheets * 24;
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("temp")));

    std::printf(
        "bench_sheets: %d sheets of 24 labels to \"Plik PDF\" against a minimal PDF writer\n",
        sheets);
    const double floorStart = processorSeconds();
    for (int sheet = 0; sheet < sheets; ++sheet)
        printFloorSheet(dir.filePath(QStringLiteral("floor%1.pdf").arg(sheet)), sheet * 24);
    const double floorSeconds = processorSeconds() - floorStart;
    const double programStart = processorSeconds();
    const qsizetype files = printWithTheProgram(dir.path(), labelCount);
    const double programSeconds = processorSeconds() - programStart;
    if (files != sheets) {
        std::printf("  the run printed %lld of %d sheets\n", static_cast<long long>(files), sheets);
        return 1;
    }
    std::printf("  minimal PDF writer %8.2f s processor time\n", floorSeconds);
    std::printf("  the program        %8.2f s processor time\n", programSeconds);
    std::printf("  ratio              %8.2f ×   (aim at most 1.5 ×)\n",
                programSeconds / floorSeconds);
    return 0;
}
