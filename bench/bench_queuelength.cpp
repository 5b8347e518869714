// What a long queue costs: for saved queues of 1,000, 100,000 and 1,000,000 lines, the time from
// the program's start until its preview window is shown and its memory then (a whole process on
// a private X server), one buffer line folded onto the queue (time and bytes written), the bytes
// written per printed sheet, and the bytes of many one-sheet runs in all. The preview's time is
// compared with that of a 300-line queue.
#include "benchmode.h"
#include "labels/labelprinter.h"
#include "labels/queuefile.h"
#include "labels/queuestore.h"
#include "labels/texts.h"
#include "platform/desktop/stderrdialogs.h"
#include "platform/printing/cupsprinterbackend.h"
#include "virtualdesktop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Fewer with --short.
int startRuns = 3;
int foldRuns = 5;

QByteArray queueBytes(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int n = 0; n < count; ++n)
        lines << QStringLiteral("%1|II %2 Ab").arg(100000000000LL + n).arg(n);
    return QueueFile::serialize(lines, true);
}

// Flushed to the disk, as files written long ago are: else the first flush of the program's
// own writes to such a file pays for them.
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        ::fsync(file.handle()) != 0)
        qFatal("cannot write %s", qPrintable(path));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A field of /proc/<pid>/status in megabytes.
double statusMegabytes(qint64 pid, const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Bytes this process has handed to write() so far.
qint64 bytesWritten()
{
    QFile io(QStringLiteral("/proc/self/io"));
    io.open(QIODevice::ReadOnly);
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

ino_t inodeOf(const QString& path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_ino;
}

struct PreviewRun {
    double milliseconds = -1;
    double residentMB = 0;
    double peakMB = 0;
};

// The program started on a folder whose saved queue holds `queue`, until the preview is shown.
PreviewRun startUntilPreview(const VirtualDesktop& desktop, const QByteArray& queue)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("zelk_nal.ini")),
              QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n").arg(dir.path()).toUtf8());
    writeFile(dir.filePath(QStringLiteral("zelk.nal")), queue);
    QProcess program;
    program.setProcessEnvironment(desktop.environment());
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    const QStringList shown{
        QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
        QLatin1Char('^') + QRegularExpression::escape(Texts::windowCaption()) + QLatin1Char('$')};
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(ZELK_PROGRAM), {dir.filePath(QStringLiteral("zelk_nal.ini"))});
    program.waitForStarted();
    PreviewRun run;
    while (desktop.xdotool(shown).isEmpty()) {
        if (clock.elapsed() > 60000 || program.state() != QProcess::Running)
            return run;
        QThread::msleep(5);
    }
    run.milliseconds = clock.nsecsElapsed() / 1e6;
    run.residentMB = statusMegabytes(program.processId(), "VmRSS");
    run.peakMB = statusMegabytes(program.processId(), "VmHWM");
    program.kill(); // the saved queue is this run's to throw away
    program.waitForFinished();
    return run;
}

PreviewRun medianPreview(const VirtualDesktop& desktop, int lines)
{
    const QByteArray queue = queueBytes(lines);
    std::vector<double> times;
    PreviewRun last;
    for (int run = 0; run < startRuns; ++run) {
        last = startUntilPreview(desktop, queue);
        if (last.milliseconds < 0)
            qFatal("the preview of %d lines was not shown", lines);
        times.push_back(last.milliseconds);
    }
    last.milliseconds = median(times);
    return last;
}

struct FoldRun {
    double milliseconds = 0;
    double firstMilliseconds = 0; // the first fold after the start, which the median would hide
    qint64 written = 0;
};

// One buffer line taken onto a saved queue of `lines` lines, as a tick does.
FoldRun medianFold(int lines)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QueueLocation location{folder, folder + QStringLiteral("naklejka.dat"), true, {}};
    writeFile(folder + QStringLiteral("zelk.nal"), queueBytes(lines));
    QueueStore store;
    QueuedLines queue;
    store.restore(location, queue);
    std::vector<double> times;
    std::vector<double> written;
    for (int run = 0; run < foldRuns; ++run) {
        writeFile(location.buffer, QByteArrayLiteral("999999999999|II 1 Ab\r\n"));
        const qint64 writtenBefore = bytesWritten();
        const auto start = std::chrono::steady_clock::now();
        store.take(location, queue);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        written.push_back(double(bytesWritten() - writtenBefore));
    }
    if (queue.size() != lines + foldRuns)
        qFatal("the fold lost or doubled lines");
    return {median(times), times.front(), qint64(median(written))};
}

struct SheetRun {
    qint64 perSheet = 0;   // bytes written per printed sheet
    qint64 compaction = 0; // bytes of the one compaction at the run's end
};

// Writes the settings file (the buffer folder `dir`, "Plik PDF") and a saved queue of `lines`
// lines into `dir`; returns the settings file's path.
QString writeFolder(const QTemporaryDir& dir, int lines)
{
    const QString settings = dir.filePath(QStringLiteral("zelk_nal.ini"));
    writeFile(settings, QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=Plik PDF\n")
                            .arg(dir.path())
                            .toUtf8());
    writeFile(dir.filePath(QStringLiteral("zelk.nal")), queueBytes(lines));
    return settings;
}

// A buffer folder whose saved queue holds `lines` lines, printed to "Plik PDF" by runs that ask
// nothing.
struct PdfPrinting {
    explicit PdfPrinting(int lines)
        : settings(writeFolder(dir, lines))
    {
        labels.OpenNal(QString());
        labels.restorePrinter();
        labels.askNothing = true;
        labels.ParametryNalepki();
        labels.RysujNal(false);
    }

    QTemporaryDir dir;
    QString settings;
    StderrDialogs dialogs;
    CupsPrinterBackend printers;
    LabelPrinter labels{Services{&dialogs, nullptr, &printers}, dir.path(), QStringList{settings}};
};

// Five sheets printed in one run from a saved queue of `lines` lines: the bytes written per
// sheet (its PDF, its journal records), and apart from them what compaction wrote of the
// saved-queue file (the whole file when it was written anew).
SheetRun printedSheets(int lines)
{
    constexpr int sheets = 5;
    PdfPrinting printing(lines);
    const QString savedPath = printing.dir.filePath(QStringLiteral("zelk.nal"));
    const qint64 savedBefore = QFileInfo(savedPath).size();
    const ino_t savedInode = inodeOf(savedPath);
    const qint64 before = bytesWritten();
    printing.labels.DrukujStrone(sheets * 24 - 1, false);
    const qint64 written = bytesWritten() - before;
    if (printing.printers.writtenFiles().size() != sheets ||
        printing.labels.queue.ListaLini.size() != lines - sheets * 24)
        qFatal("the run printed %lld sheets",
               static_cast<long long>(printing.printers.writtenFiles().size()));
    const qint64 savedAfter = QFileInfo(savedPath).size();
    const qint64 compaction =
        inodeOf(savedPath) == savedInode ? savedAfter - savedBefore : savedAfter;
    return {(written - compaction) / sheets, compaction};
}

// The bytes that `runs` runs of one sheet each write in all, from a saved queue of `lines` lines.
qint64 oneSheetRuns(int lines, int runs)
{
    PdfPrinting printing(lines);
    const qint64 before = bytesWritten();
    for (int run = 0; run < runs; ++run)
        printing.labels.DrukujStrone(23, false);
    if (printing.labels.queue.ListaLini.size() != lines - runs * 24)
        qFatal("%d one-sheet runs left %lld lines of %d", runs,
               static_cast<long long>(printing.labels.queue.ListaLini.size()), lines);
    return bytesWritten() - before;
}

} // namespace

int main(int argc, char** argv)
{
    VirtualDesktop desktop;
    if (!desktop.available()) {
        std::printf("bench_queuelength: skipped, Xvfb and xdotool are needed\n");
        return 0;
    }
    const bool quick = shortRun(argc, argv);
    if (quick) {
        startRuns = 1;
        foldRuns = 2;
    }
    QGuiApplication app(argc, argv);
    std::printf("bench_queuelength: cost by the number of queued lines (medians)\n");
    std::printf("  %9s  %15s  %8s  %19s  %13s  %11s  %9s  %11s  %11s\n", "lines", "preview shown",
                "ratio", "memory shown/peak", "one-line fold", "first fold", "written", "per sheet",
                "compaction");
    medianPreview(desktop, 300); // warm-up: the program's files in the cache
    const double base = medianPreview(desktop, 300).milliseconds;
    std::printf("  %9d  %12.0f ms  %8.2f\n", 300, base, 1.0);
    for (int lines : quick ? std::vector<int>{1000} : std::vector<int>{1000, 100000, 1000000}) {
        const PreviewRun preview = medianPreview(desktop, lines);
        const FoldRun fold = medianFold(lines);
        const SheetRun sheets = printedSheets(lines);
        std::printf(
            "  %9d  %12.0f ms  %8.2f  %8.0f/%5.0f MB  %10.2f ms  %8.2f ms  %7lld B  %9lld B  "
            "%9lld B\n",
            lines, preview.milliseconds, preview.milliseconds / base, preview.residentMB,
            preview.peakMB, fold.milliseconds, fold.firstMilliseconds,
            static_cast<long long>(fold.written), static_cast<long long>(sheets.perSheet),
            static_cast<long long>(sheets.compaction));
    }
    const int runs = quick ? 5 : 100;
    const int runLines = quick ? 1000 : 1000000;
    std::printf("  %d one-sheet runs from %d queued lines write %.1f MB in all (aim < 100 MB at "
                "1,000,000)\n",
                runs, runLines, double(oneSheetRuns(runLines, runs)) / 1e6);
    std::printf("  aims at 1,000,000 lines: ratio <= 1.3, memory shown < 100 MB, fold < 5 ms "
                "and < 1024 B, bytes per sheet as at 1,000 lines\n");
    return 0;
}
