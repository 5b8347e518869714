// The label queue's costs: the first lines folded onto a long saved queue after a start, taking
// a large buffer file, an idle polling tick, and one write of the saved-queue file that mirrors
// the queue. Each measures work it checks was done.
#include "benchmode.h"
#include "labels/queuefile.h"
#include "labels/queuestore.h"
#include "platform/desktop/qtdialogs.h"
#include "window/tnal1.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>
#include <vector>

namespace {

QStringList numbered(int count)
{
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines << QStringLiteral("%1|II %2 Ab").arg(n, 12, 10, QLatin1Char('0')).arg(n);
    return lines;
}

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A buffer folder of its own for each run, so that no run reads what another one saved.
struct Folder {
    QTemporaryDir dir;
    QueueLocation location{
        dir.path() + QLatin1Char('/'), dir.path() + QStringLiteral("/naklejka.dat"), true, {}};
};

// The process's peak resident memory so far, in megabytes.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// A saved queue of `lineCount` lines written in slices, so that this process never holds it as
// a list of strings and its peak memory is that of the queue alone, and flushed.
bool writeSavedQueue(const QString& path, int lineCount)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    constexpr int slice = 100000;
    for (int first = 1; first <= lineCount; first += slice) {
        QStringList lines;
        for (int n = first; n < first + slice && n <= lineCount; ++n)
            lines << QStringLiteral("%1|II %2 Ab").arg(n, 12, 10, QLatin1Char('0')).arg(n);
        const QByteArray bytes = QueueFile::serialize(lines, true);
        if (file.write(bytes) != bytes.size())
            return false;
    }
    // On the disk, as a queue saved long ago is: else the first fold's flush writes it all.
    return file.flush() && ::fsync(file.handle()) == 0;
}

// One buffer line at a time folded onto a saved queue of `lineCount` lines read at start: the
// first fold against the median of all, and the peak memory after the start and after the folds.
bool benchFirstFold(int lineCount, int folds)
{
    const Folder folder;
    if (!writeSavedQueue(folder.location.folder + QStringLiteral("zelk.nal"), lineCount))
        return false;
    QueueStore store;
    QueuedLines queue;
    store.restore(folder.location, queue);
    const double peakAtStart = peakMegabytes();
    std::vector<double> cpu;
    for (int fold = 0; fold < folds; ++fold) {
        if (!writeFile(folder.location.buffer, QByteArrayLiteral("999999999999|II 1 Ab\r\n")))
            return false;
        const double start = cpuSeconds();
        store.take(folder.location, queue);
        cpu.push_back(cpuSeconds() - start);
    }
    const double first = cpu.front();
    std::sort(cpu.begin(), cpu.end());
    std::printf("one-line folds onto %d saved lines after a start, CPU: first %.2f ms, median "
                "%.2f ms; peak memory %.0f MB after the start, %.0f MB after %d folds (aim < 300 "
                "MB at 5,000,000 lines)\n",
                lineCount, first * 1e3, cpu[cpu.size() / 2] * 1e3, peakAtStart, peakMegabytes(),
                folds);
    return queue.size() == lineCount + folds;
}

bool benchIngest(int lineCount, int runs)
{
    const QByteArray bytes = QueueFile::serialize(numbered(lineCount), true);
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const Folder folder;
        if (!writeFile(folder.location.buffer, bytes))
            return false;
        QueueStore store;
        QueuedLines queue;
        const double start = wallSeconds();
        store.take(folder.location, queue);
        best = std::min(best, wallSeconds() - start);
        if (queue.size() != lineCount) {
            std::printf("  a run took %lld lines of %d\n", static_cast<long long>(queue.size()),
                        lineCount);
            return false;
        }
    }
    std::printf("buffer ingest, %d-line file (take, fold, mirror): %.0f lines/s\n", lineCount,
                lineCount / best);

    const double start = wallSeconds();
    for (int run = 0; run < runs; ++run)
        QueueFile::parse(bytes, true);
    std::printf("  of which reading the lines alone: %.0f lines/s\n",
                lineCount * runs / (wallSeconds() - start));
    return true;
}

void benchIdleTick(int ticks)
{
    const QTemporaryDir programDir;
    QDir().mkpath(programDir.filePath(QStringLiteral("temp")));
    QtDialogs dialogs; // an idle tick asks nothing
    TNal1 window(Services{&dialogs}, programDir.path(), {});
    window.Timer1.stop();
    const double start = cpuSeconds();
    for (int tick = 0; tick < ticks; ++tick)
        window.Timer1Timer();
    std::printf("idle tick (no buffer file), CPU: %.2f us\n", (cpuSeconds() - start) * 1e6 / ticks);
}

bool benchMirrorWrite(int runs)
{
    constexpr int lineCount = 10000;
    const Folder folder;
    QueuedLines queue = numbered(lineCount);
    QueueStore store;
    const double start = wallSeconds();
    const double startCpu = cpuSeconds();
    for (int run = 0; run < runs; ++run)
        store.save(folder.location, queue);
    std::printf("mirror write, %d queued lines: %.2f ms (CPU %.2f ms; the rest waits for the "
                "disk)\n",
                lineCount, (wallSeconds() - start) * 1e3 / runs,
                (cpuSeconds() - startCpu) * 1e3 / runs);
    QFile saved(folder.location.folder + QStringLiteral("zelk.nal"));
    return saved.open(QIODevice::ReadOnly) && QueueFile::parse(saved.readAll(), true) == queue;
}

} // namespace

int main(int argc, char** argv)
{
    const bool quick = shortRun(argc, argv);
    QApplication app(argc, argv);
    // First, while this process's peak memory is still the queue's own.
    const bool folded = benchFirstFold(quick ? 100000 : 5000000, quick ? 3 : 20);
    const bool done = folded && benchIngest(quick ? 10000 : 100000, quick ? 1 : 5);
    benchIdleTick(quick ? 1000 : 20000);
    if (!done || !benchMirrorWrite(quick ? 2 : 20)) {
        std::printf("bench_queue: a run did not do its work\n");
        return 1;
    }
    return 0;
}
