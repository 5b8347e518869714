// The program on a desktop, as a whole process: the time from its start until its title window
// exists (the last step of start-up, right before it waits for events), and, idle in the tray,
// its resident memory and its share of the processor. The desktop is a private X server (Xvfb)
// with a notification area (trayer).
#include "benchmode.h"
#include "labels/texts.h"
#include "platform/desktop/windowtitles.h"
#include "virtualdesktop.h"

#include <algorithm>
#include <cstdio>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>
#include <vector>

namespace {

// Fewer and shorter with --short.
int startRuns = 10;
int settleMs = 3000;
int idleMs = 5000;

// A buffer folder of its own, so that the program meets nothing it would print.
class ProgramCopy {
public:
    explicit ProgramCopy(const VirtualDesktop& desktop)
    {
        QFile settings(m_dir.filePath(QStringLiteral("zelk_nal.ini")));
        settings.open(QIODevice::WriteOnly);
        settings.write(QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n").arg(m_dir.path()).toUtf8());
        settings.close();
        m_process.setProcessEnvironment(desktop.environment());
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_clock.start();
        m_process.start(QStringLiteral(ZELK_PROGRAM), {settings.fileName()});
        m_process.waitForStarted();
    }

    ~ProgramCopy()
    {
        m_process.terminate(); // SIGTERM: the program saves its queue and ends
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() == QProcess::Running; }
    double elapsedMilliseconds() const { return m_clock.nsecsElapsed() / 1e6; }

private:
    QTemporaryDir m_dir;
    QElapsedTimer m_clock;
    QProcess m_process;
};

bool titleWindowExists(WindowTitles& titles)
{
    return titles.topLevelTitles().contains(Texts::appTitle());
}

// Milliseconds from the start of a copy until its title window exists; -1 when it never does.
double startUpMilliseconds(const VirtualDesktop& desktop, WindowTitles& titles)
{
    // The X server drops the windows of the copy before only when it notices that copy's end.
    while (titleWindowExists(titles))
        QThread::msleep(10);
    ProgramCopy copy(desktop);
    while (!titleWindowExists(titles)) {
        if (copy.elapsedMilliseconds() > 10000 || !copy.running())
            return -1;
        QThread::usleep(500);
    }
    return copy.elapsedMilliseconds();
}

QByteArray procFile(qint64 pid, const char* name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double residentMegabytes(qint64 pid)
{
    for (const QByteArray& line : procFile(pid, "status").split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// User and system time in clock ticks: fields 14 and 15, counted after the command's closing
// parenthesis (the command may hold spaces).
long long processorTicks(qint64 pid)
{
    const QByteArray stat = procFile(pid, "stat");
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// The processor time of each thread in milliseconds, as the scheduler counts it: far finer than
// the clock ticks, of which a single one over five seconds is already 0.2 %.
QMap<QString, double> threadMilliseconds(qint64 pid)
{
    QMap<QString, double> threads;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile sched(tasks.filePath(task + QStringLiteral("/sched")));
        if (!sched.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : sched.readAll().split('\n')) {
            if (line.startsWith("se.sum_exec_runtime"))
                threads[task] = line.mid(line.indexOf(':') + 1).trimmed().toDouble();
        }
    }
    return threads;
}

// The processor time spent since `before`; a thread that ended meanwhile is not counted.
double busyMilliseconds(qint64 pid, const QMap<QString, double>& before)
{
    double busy = 0;
    const QMap<QString, double> now = threadMilliseconds(pid);
    for (auto it = now.begin(); it != now.end(); ++it)
        busy += it.value() - before.value(it.key(), 0);
    return busy;
}

void printStartUp(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    std::printf("  start-up to the tray %8.1f ms   (median of %zu; min %.1f, max %.1f; aim "
                "< 300 ms)\n",
                runs[runs.size() / 2], runs.size(), runs.front(), runs.back());
}

void printIdleFigures(const VirtualDesktop& desktop, WindowTitles& titles)
{
    while (titleWindowExists(titles))
        QThread::msleep(10);
    ProgramCopy copy(desktop);
    while (!titleWindowExists(titles) && copy.elapsedMilliseconds() < 10000)
        QThread::msleep(10);
    QThread::msleep(settleMs);
    std::printf("  idle memory (VmRSS)  %8.1f MB   (after %d s idle; aim < 60 MB)\n",
                residentMegabytes(copy.pid()), settleMs / 1000);
    const long long ticksBefore = processorTicks(copy.pid());
    const QMap<QString, double> threadsBefore = threadMilliseconds(copy.pid());
    QElapsedTimer clock;
    clock.start();
    QThread::msleep(idleMs);
    const long long ticks = processorTicks(copy.pid()) - ticksBefore;
    const double busyMs = busyMilliseconds(copy.pid(), threadsBefore);
    const double idleMs = clock.nsecsElapsed() / 1e6;
    std::printf(
        "  idle processor       %8.3f %%    (%.1f ms of %.1f s, all threads; aim < 0.1 %%)\n",
        100.0 * busyMs / idleMs, busyMs, idleMs / 1000);
    std::printf("  idle processor       %8.3f %%    (/proc/PID/stat: %lld ticks of 1/%ld s)\n",
                100.0 * ticks / sysconf(_SC_CLK_TCK) / (idleMs / 1000), ticks,
                sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv)
{
    // The desktop is started first, so that this program's own connection, which the window
    // titles are read through, goes to it.
    VirtualDesktop desktop;
    if (!desktop.available()) {
        std::printf("bench_desktop: skipped, Xvfb and xdotool are needed\n");
        return 0;
    }
    if (shortRun(argc, argv)) {
        startRuns = 1;
        settleMs = 500;
        idleMs = 1000;
    }
    qputenv("DISPLAY", desktop.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const auto titles = makeDesktopWindowTitles();

    std::printf("bench_desktop: the program in the tray of Xvfb + trayer\n");
    startUpMilliseconds(desktop, *titles); // warm-up: the file cache
    std::vector<double> runs;
    for (int run = 0; run < startRuns; ++run) {
        const double ms = startUpMilliseconds(desktop, *titles);
        if (ms < 0) {
            std::printf("  the title window did not appear\n");
            return 1;
        }
        runs.push_back(ms);
    }
    printStartUp(runs);
    printIdleFigures(desktop, *titles);
    return 0;
}
