// Printing one sheet of 24 labels to "Plik PDF": the time of a print run and the peak memory of
// the process that does it. Every run must write its PDF file.
#include "benchdialogs.h"
#include "benchmode.h"
#include "labels/labelprinter.h"
#include "platform/printing/cupsprinterbackend.h"

#include <algorithm>
#include <cstdio>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <vector>

namespace {

qsizetype printedFiles(const LabelPrinter& labels)
{
    return QDir(labels.paths.FilePath + QStringLiteral("wydruki/"))
        .entryList({QStringLiteral("*.pdf")}, QDir::Files)
        .size();
}

// Prints a sheet of 24 labels taken from the buffer, as a tick does; its time in milliseconds,
// or a negative number when the sheet's file was not written or its labels stayed queued.
double printSheetMilliseconds(LabelPrinter& labels)
{
    QFile buffer(labels.paths.NazwaPliku);
    if (!buffer.open(QIODevice::WriteOnly))
        return -1;
    for (int i = 0; i < 24; ++i)
        buffer.write(
            QStringLiteral("1000000000%1|II %1\r\n").arg(i, 2, 10, QLatin1Char('0')).toUtf8());
    buffer.close();
    labels.takeBuffer();
    const qsizetype filesBefore = printedFiles(labels);
    QElapsedTimer clock;
    clock.start();
    labels.ParametryNalepki();
    labels.RysujNal(false);
    labels.DrukujStrone(int(labels.queue.ListaLini.size()) - 1, false);
    const double milliseconds = clock.nsecsElapsed() / 1e6;
    const bool printed =
        printedFiles(labels) == filesBefore + 1 && labels.queue.ListaLini.isEmpty();
    return printed ? milliseconds : -1;
}

} // namespace

int main(int argc, char** argv)
{
    const int runCount = shortRun(argc, argv) ? 2 : 20;
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("temp")));
    DecliningDialogs dialogs;
    CupsPrinterBackend printers;
    LabelPrinter labels(Services{&dialogs, nullptr, &printers, nullptr}, dir.path(), {});
    labels.settings.PrinterName = CupsPrinterBackend::filePrinterName();
    labels.OpenNal(QString());
    labels.restorePrinter();

    std::printf("bench_print: one 24-label sheet to \"Plik PDF\"\n");
    const double first = printSheetMilliseconds(labels);
    std::vector<double> runs;
    for (int run = 0; run < runCount; ++run)
        runs.push_back(printSheetMilliseconds(labels));
    std::sort(runs.begin(), runs.end());
    if (first < 0 || runs.front() < 0) {
        std::printf("  a run wrote no file\n");
        return 1;
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  first run          %8.1f ms   (aim < 250 ms)\n", first);
    std::printf("  median of %2d runs  %8.1f ms\n", runCount, runs[runs.size() / 2]);
    std::printf("  peak memory        %8.1f MB   (aim < 80 MB)\n", usage.ru_maxrss / 1024.0);
    std::printf("  files written      %8lld\n", static_cast<long long>(printedFiles(labels)));
    return 0;
}
