// Reading the history of printed sheets, however long the file: `zelk_nal --history` and the
// history window read only its tail. A file of a million lines (far more than the program ever
// keeps) is listed; the figures are the time and the peak memory of the whole process.
#include "benchmode.h"
#include "labels/printhistory.h"
#include "platform/files/fileops.h"

#include <chrono>
#include <cstdio>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <sys/resource.h>

namespace {

// Lines `first` to `last` of a history, each a sheet of one label, numbered as they go.
QByteArray historyLines(int first, int last, const QDateTime& when)
{
    QByteArray bytes;
    for (int n = first; n <= last; ++n) {
        const SheetRecord sheet{
            .sequence = 1,
            .lines = 1,
            .when = when,
            .printer = QStringLiteral("Etykiety"),
            .labels = {QStringLiteral("%1|II %2").arg(n, 12, 10, QLatin1Char('0')).arg(n)}};
        bytes += QByteArray::number(n) + ' ' + PrintJournal::sheetFields(sheet) + " #" +
                 QByteArray::number(n) + '\n';
    }
    return bytes;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = shortRun(argc, argv) ? 20000 : 1000000;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("zelk.nal.historia"));
    const QDateTime now = QDateTime::currentDateTime();
    constexpr int chunk = 10000; // the file is written piece by piece, not held whole
    for (int first = 1; first <= count; first += chunk)
        FileOps::append(path, historyLines(first, qMin(count, first + chunk - 1), now));
    const double before = peakMegabytes();

    const auto start = std::chrono::steady_clock::now();
    const QList<PrintedSheet> listed = PrintHistory::listed(PrintHistory::read(path), now);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("history of %d lines (%.0f MB) listed: %.3f s, peak memory %.0f MB (%.0f MB "
                "before reading)\n",
                count, FileOps::size(path) / 1e6, seconds, peakMegabytes(), before);
    if (listed.size() != PrintHistory::keptSheets || listed.first().number != count) {
        std::printf("bench_history: the history listed is not its last %d sheets\n",
                    PrintHistory::keptSheets);
        return 1;
    }
    return 0;
}
