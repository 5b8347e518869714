// The label queue's costs: taking a large buffer file, an idle polling tick, and one write of
// the saved-queue file that mirrors the queue.
#include "labels/queuefile.h"
#include "labels/queuestore.h"
#include "platform/qtdialogs.h"
#include "window/tnal1.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void benchIngest(const QueueLocation& location)
{
    constexpr int lineCount = 100000;
    constexpr int runs = 5;
    const QByteArray bytes = QueueFile::serialize(numbered(lineCount), true);
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        writeFile(location.buffer, bytes);
        QueueStore store;
        QStringList queue;
        const double start = wallSeconds();
        store.take(location, queue);
        best = std::min(best, wallSeconds() - start);
        if (queue.size() != lineCount)
            qFatal("took %lld lines", static_cast<long long>(queue.size()));
    }
    std::printf("buffer ingest, %d-line file (take, fold, mirror): %.0f lines/s\n", lineCount,
                lineCount / best);

    const double start = wallSeconds();
    for (int run = 0; run < runs; ++run)
        QueueFile::parse(bytes, true);
    std::printf("  of which reading the lines alone: %.0f lines/s\n",
                lineCount * runs / (wallSeconds() - start));
}

void benchIdleTick(const QString& programDir)
{
    constexpr int ticks = 20000;
    QtDialogs dialogs; // an idle tick asks nothing
    TNal1 window(Services{&dialogs}, programDir, {});
    window.Timer1.stop();
    const double start = cpuSeconds();
    for (int tick = 0; tick < ticks; ++tick)
        window.Timer1Timer();
    std::printf("idle tick (no buffer file), CPU: %.2f us\n", (cpuSeconds() - start) * 1e6 / ticks);
}

void benchMirrorWrite(const QueueLocation& location)
{
    constexpr int runs = 20;
    QStringList queue = numbered(10000);
    QueueStore store;
    const double start = wallSeconds();
    const double startCpu = cpuSeconds();
    for (int run = 0; run < runs; ++run)
        store.save(location, queue);
    std::printf("mirror write, 10000 queued lines: %.2f ms (CPU %.2f ms; the rest waits for the "
                "disk)\n",
                (wallSeconds() - start) * 1e3 / runs, (cpuSeconds() - startCpu) * 1e3 / runs);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString bufferDir = dir.filePath(QStringLiteral("temp/"));
    QDir().mkpath(bufferDir);
    const QueueLocation location{bufferDir, bufferDir + QStringLiteral("naklejka.dat"), true, {}};

    benchIngest(location);
    QFile::remove(bufferDir + QStringLiteral("zelk.nal"));
    benchIdleTick(dir.path());
    benchMirrorWrite(location);
    return 0;
}
