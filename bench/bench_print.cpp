// Printing one sheet of 24 labels to "Plik PDF": the time of a print run and the peak memory of
// the process that does it.
#include "labels/labelprinter.h"
#include "platform/cupsprinterbackend.h"
#include "platform/dialogs.h"

#include <algorithm>
#include <cstdio>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <vector>

namespace {

// Declines every question, so a run prints its sheet once.
class DecliningDialogs : public Dialogs {
public:
    MessageAnswer message(const Message& message) override
    {
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    void notify(const Message&) override {}
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    std::optional<QString> openPicture(const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

double printSheetMilliseconds(LabelPrinter& labels)
{
    for (int i = 0; i < 24; ++i)
        labels.queue.ListaLini
            << QStringLiteral("1000000000%1|II %1").arg(i, 2, 10, QLatin1Char('0'));
    QElapsedTimer clock;
    clock.start();
    labels.ParametryNalepki();
    labels.RysujNal(false);
    labels.DrukujStrone(int(labels.queue.ListaLini.size()) - 1, false);
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("temp")));
    DecliningDialogs dialogs;
    CupsPrinterBackend printers;
    LabelPrinter labels(Services{&dialogs, nullptr, &printers, nullptr}, dir.path(), {});
    labels.settings.PrinterName = CupsPrinterBackend::filePrinterName();
    labels.restorePrinter();

    const double first = printSheetMilliseconds(labels);
    std::vector<double> runs;
    for (int run = 0; run < 20; ++run)
        runs.push_back(printSheetMilliseconds(labels));
    std::sort(runs.begin(), runs.end());

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const int files = int(QDir(labels.paths.FilePath + QStringLiteral("wydruki/"))
                              .entryList({QStringLiteral("*.pdf")}, QDir::Files)
                              .size());
    std::printf("bench_print: one 24-label sheet to \"Plik PDF\" (%d files written)\n", files);
    std::printf("  first run          %8.1f ms   (aim < 250 ms)\n", first);
    std::printf("  median of 20 runs  %8.1f ms\n", runs[runs.size() / 2]);
    std::printf("  peak memory        %8.1f MB   (aim < 80 MB)\n", usage.ru_maxrss / 1024.0);
    return files == 21 ? 0 : 1;
}
