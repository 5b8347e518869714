#include "labellines.h"
#include "labels/queuefile.h"
#include "labels/queuestore.h"
#include "platform/printing/cupsprinterbackend.h"
#include "virtualdesktop.h"

#include <gtest/gtest.h>
#include <map>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <random>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// A buffer folder with its settings file (printing to "Plik PDF"), and the program run on it
// as a process, the way a library runs it: a tray copy, --print-queue from cron, --close from
// a script, each with the environment its shell happens to have.
class ProgramOnABufferFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir().mkpath(bufferFolder()));
        writeSettings(false);
    }

    void TearDown() override
    {
        for (auto& process : m_started) {
            process->kill();
            process->waitForFinished();
        }
    }

    QString bufferFolder() const { return m_dir.filePath(QStringLiteral("bufor")); }
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("zelk_nal.ini")); }
    QString savedQueueFile() const { return bufferFolder() + QStringLiteral("/zelk.nal"); }

    void writeSettings(bool withoutPreview) const
    {
        writeFile(settingsFile(), QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=Plik "
                                                 "PDF\n[Sposób Wydruku]\nBez Wyświetlania=%2\n")
                                      .arg(bufferFolder())
                                      .arg(withoutPreview ? 1 : 0)
                                      .toUtf8());
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QStringList savedQueue() const
    {
        QFile saved(savedQueueFile());
        if (!saved.open(QIODevice::ReadOnly))
            return {};
        return QueueFile::parse(saved.readAll(), true);
    }

    // The environment of a shell: no display, and XDG_RUNTIME_DIR as given (none when empty).
    // The copies of one test share a folder for their channel, as a user's copies share one
    // whatever their shell; the tests running beside it each have their own.
    QProcessEnvironment shell(const QString& runtimeFolder) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"),
                           m_dir.filePath(QStringLiteral("kanal")));
        if (!runtimeFolder.isEmpty())
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
        return environment;
    }

    // Starts the program; with a prefix, as the other account (65534), in a channel folder of
    // that account's.
    QProcess& start(const QStringList& arguments, QProcessEnvironment environment,
                    const QStringList& prefix = {})
    {
        if (!prefix.isEmpty()) {
            const QString channel = m_dir.filePath(QStringLiteral("kanal-inne"));
            QDir().mkpath(channel);
            const QByteArray native = QFile::encodeName(channel);
            EXPECT_EQ(::chown(native.constData(), 65534, 65534), 0);
            EXPECT_EQ(::chmod(native.constData(), 0700), 0);
            environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), channel);
        }
        auto& process = m_started.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(environment);
        const QStringList command = prefix + QStringList{QStringLiteral(ZELK_PROGRAM)};
        process->start(command.first(), command.mid(1) + arguments);
        EXPECT_TRUE(process->waitForStarted());
        return *process;
    }

    // Runs to the end; returns the exit code.
    int run(const QStringList& arguments, const QProcessEnvironment& environment,
            const QStringList& prefix = {})
    {
        QProcess& process = start(arguments, environment, prefix);
        EXPECT_TRUE(process.waitForFinished(60000));
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Whether some process holds the queue lock of the buffer folder. Read from the kernel's
    // list of locks: trying the lock here would hold it for a moment, and a copy starting in
    // that moment would find its queue busy.
    bool queueLocked() const
    {
        struct stat status {};
        const QByteArray path =
            QFile::encodeName(bufferFolder() + QStringLiteral("/zelk.nal.lock"));
        if (::stat(path.constData(), &status) != 0)
            return false;
        const QByteArray file =
            QString::asprintf(" %02x:%02x:%llu ", major(status.st_dev), minor(status.st_dev),
                              static_cast<unsigned long long>(status.st_ino))
                .toLatin1();
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& line : locks.readAll().split('\n')) {
            if (line.contains(" FLOCK ") && line.contains(file))
                return true;
        }
        return false;
    }

    QStringList printedFiles() const
    {
        return QDir(bufferFolder() + QStringLiteral("/wydruki"))
            .entryList({QStringLiteral("*.pdf")}, QDir::Files);
    }

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<QProcess>> m_started;
};

TEST_F(ProgramOnABufferFolder, OneCopyWorksOnTheQueueWhateverTheShell)
{
    writeFile(savedQueueFile(), QueueFile::serialize(numberedLines(1, 30), true));
    QTemporaryDir desktopRuntime;
    QProcess& tray = start({settingsFile()}, shell(desktopRuntime.path()));
    ASSERT_TRUE(waitUntil([this] { return queueLocked(); }, 20000));

    QTemporaryDir otherRuntime;
    for (const QString& runtime : {QString(), otherRuntime.path()}) {
        SCOPED_TRACE(runtime.isEmpty() ? "without XDG_RUNTIME_DIR" : "another XDG_RUNTIME_DIR");
        EXPECT_EQ(run({QStringLiteral("--print-queue"), settingsFile()}, shell(runtime)), 2);
    }
    if (::getuid() == 0 && QFile::exists(QStringLiteral("/usr/bin/setpriv"))) {
        SCOPED_TRACE("another account");
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther);
        const QStringList asNobody{QStringLiteral("/usr/bin/setpriv"),
                                   QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                   QStringLiteral("--clear-groups")};
        EXPECT_EQ(run({QStringLiteral("--print-queue"), settingsFile()}, shell({}), asNobody), 2);
    }
    EXPECT_TRUE(printedFiles().isEmpty());
    EXPECT_EQ(savedQueue(), numberedLines(1, 30));

    EXPECT_EQ(run({QStringLiteral("--close")}, shell({})), 0) << "found without XDG_RUNTIME_DIR";
    ASSERT_TRUE(tray.waitForFinished(20000));
    EXPECT_EQ(tray.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(tray.readAllStandardOutput()),
              QStringLiteral("zelk_nal: ustawienia %1, bufor %2/naklejka.dat, drukarka Plik PDF\n")
                  .arg(settingsFile(), bufferFolder()))
        << "one line says what the copy uses";
    EXPECT_EQ(savedQueue(), numberedLines(1, 30));
    EXPECT_FALSE(queueLocked());
}

TEST_F(ProgramOnABufferFolder, AChannelFolderOthersCouldReachIsRefused)
{
    const QString target = m_dir.filePath(QStringLiteral("target"));
    ASSERT_TRUE(QDir().mkpath(target));
    const QString link = m_dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(target, link));
    QProcessEnvironment environment = shell({});
    environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), link);
    QProcess& process = start({QStringLiteral("--print-queue"), settingsFile()}, environment);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError())
                    .contains(QStringLiteral("to jest dowiązanie symboliczne")));
    EXPECT_TRUE(QDir(target).isEmpty()) << "nothing made in its place or through it";
}

TEST_F(ProgramOnABufferFolder, CloseRequestEndsACopyBehindAStartUpMessage)
{
    writeFile(settingsFile(), QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[Sygnatura]\nWielkosc "
                                             "Czcionki=duża\n")
                                  .arg(bufferFolder())
                                  .toUtf8());
    writeFile(savedQueueFile(), QueueFile::serialize(numberedLines(1, 3), true));
    QTemporaryDir instance;
    QProcessEnvironment environment = shell({});
    environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), instance.path());
    QProcess& copy = start({settingsFile()}, environment);
    // The report of the font size waits for an answer that never comes on this screen.
    ASSERT_FALSE(copy.waitForFinished(1500));

    EXPECT_EQ(run({QStringLiteral("--close")}, environment), 0);
    ASSERT_TRUE(copy.waitForFinished(20000));
    EXPECT_EQ(copy.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy.exitCode(), 0);
    EXPECT_EQ(savedQueue(), numberedLines(1, 3));
}

// A desktop without a notification area (Qt's offscreen platform has none): the notice of a
// sheet printed without preview goes to standard error.
TEST_F(ProgramOnABufferFolder, WithoutANotificationAreaTheNoticeOfARunGoesToStandardError)
{
    writeSettings(true);
    writeFile(bufferFolder() + QStringLiteral("/naklejka.dat"),
              QueueFile::serialize(numberedLines(1, 24), true));
    QTemporaryDir instance;
    QProcessEnvironment environment = shell({});
    environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), instance.path());
    QProcess& copy = start({settingsFile()}, environment);
    ASSERT_TRUE(waitUntil([this] { return printedFiles().size() == 1; }, 20000));
    EXPECT_EQ(run({QStringLiteral("--close")}, environment), 0);
    ASSERT_TRUE(copy.waitForFinished(20000));
    const QString errors = QString::fromUtf8(copy.readAllStandardError());
    EXPECT_TRUE(
        errors.split(QLatin1Char('\n'))
            .contains(QStringLiteral("zelk_nal: Zapisano 24 naklejki w folderze %1/wydruki/.")
                          .arg(bufferFolder())))
        << errors.toStdString();
}

// The buffer folder shared with the host system (mode 1777) and a buffer of the host's account:
// this user may not take it, and hears why, by name.
TEST_F(ProgramOnABufferFolder, ABufferThatCannotBeTakenIsReportedByName)
{
    if (::getuid() != 0 || !QFile::exists(QStringLiteral("/usr/bin/setpriv")))
        GTEST_SKIP() << "another account can be arranged as root only";
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(bufferFolder()).constData(), 01777);
    const QString buffer = bufferFolder() + QStringLiteral("/naklejka.dat");
    writeFile(buffer, QueueFile::serialize(numberedLines(1, 24), true));
    QProcess& run = start({QStringLiteral("--print-queue"), settingsFile()}, shell({}),
                          {QStringLiteral("/usr/bin/setpriv"), QStringLiteral("--reuid=65534"),
                           QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")});
    ASSERT_TRUE(run.waitForFinished(20000));
    EXPECT_EQ(run.exitCode(), 1);
    const QString errors = QString::fromUtf8(run.readAllStandardError());
    EXPECT_TRUE(errors.contains("Nie można przejąć pliku " + buffer + ": brak uprawnień"))
        << errors.toStdString();
    EXPECT_TRUE(QFile::exists(buffer));
}

// A second account works on the queue in a shared folder (mode 1777) whose files are the
// owner's: it could not record what it prints, so it prints nothing, says whose the file is,
// and leaves nothing behind; the owner's next run prints every label once.
TEST_F(ProgramOnABufferFolder, ASecondAccountInAStickyFolderIsRefusedBeforePrinting)
{
    if (::getuid() != 0 || !QFile::exists(QStringLiteral("/usr/bin/setpriv")))
        GTEST_SKIP() << "another account can be arranged as root only";
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(bufferFolder()).constData(), 01777);
    writeFile(savedQueueFile(), QueueFile::serialize(numberedLines(1, 48), true));
    writeFile(savedQueueFile() + QStringLiteral(".lock"), {}); // the owner has run before
    const QString other = m_dir.filePath(QStringLiteral("konto"));
    QDir().mkpath(other);
    writeFile(other + QStringLiteral("/zelk_nal.ini"),
              QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=Plik PDF\n")
                  .arg(bufferFolder())
                  .toUtf8());
    for (const QString& path : {other, other + QStringLiteral("/zelk_nal.ini")})
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    const QStringList before = QDir(bufferFolder()).entryList(QDir::AllEntries | QDir::Hidden);

    QProcess& refused =
        start({QStringLiteral("--print-queue"), other + QStringLiteral("/zelk_nal.ini")}, shell({}),
              {QStringLiteral("/usr/bin/setpriv"), QStringLiteral("--reuid=65534"),
               QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")});
    ASSERT_TRUE(refused.waitForFinished(20000));
    EXPECT_EQ(refused.exitCode(), 1);
    const QString errors = QString::fromUtf8(refused.readAllStandardError());
    EXPECT_TRUE(errors.contains("plik " + savedQueueFile() + " należy do użytkownika root"))
        << errors.toStdString();
    EXPECT_EQ(QDir(bufferFolder()).entryList(QDir::AllEntries | QDir::Hidden), before);

    EXPECT_EQ(run({QStringLiteral("--print-queue"), settingsFile()}, shell({})), 0);
    EXPECT_EQ(printedFiles().size(), 2);
    EXPECT_TRUE(savedQueue().isEmpty());
}

// `--reprint N` beside the running copy names the sheet listed in its own history: the copy prints
// exactly that sheet, or refuses and the exit code says so.
TEST_F(ProgramOnABufferFolder, AReprintBesideTheRunningCopyNamesItsSheet)
{
    QTemporaryDir runtime;
    writeFile(savedQueueFile(), QueueFile::serialize(numberedLines(1, 24), true));
    ASSERT_EQ(run({QStringLiteral("--print-queue"), settingsFile()}, shell(runtime.path())), 0);
    // Other settings: another buffer folder, with a copy of the history.
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("inny"))));
    QFile::copy(bufferFolder() + "/zelk.nal.historia", m_dir.filePath("inny/zelk.nal.historia"));
    const QString other = m_dir.filePath(QStringLiteral("inne.ini"));
    writeFile(other, "[NAKLEJKI]\nścieżka=" + m_dir.filePath("inny/").toUtf8() + '\n');

    start({settingsFile()}, shell(runtime.path()));
    ASSERT_TRUE(waitUntil([this] { return queueLocked(); }, 20000));
    EXPECT_EQ(run({QStringLiteral("--reprint=1"), other}, shell(runtime.path())), 1);
    EXPECT_EQ(run({QStringLiteral("--reprint=1"), settingsFile()}, shell(runtime.path())), 0);
    EXPECT_TRUE(waitUntil([this] { return printedFiles().size() == 2; }, 20000));
}

// Kills at random moments while sheets print. After each, every label is on paper (a PDF in
// wydruki/) or waiting for the next copy: never both, never neither.
class KilledWhilePrinting : public ProgramOnABufferFolder {
protected:
    // What the next copy finds waiting: the saved queue as its journal settles it.
    QStringList settledQueue() const
    {
        CupsPrinterBackend printers;
        QueueStore store;
        store.setSheetSettler([&printers](const QString& destination, bool accepted) {
            return printers.settleSheet(destination, accepted);
        });
        QueuedLines lines;
        store.restore(
            {bufferFolder() + '/', bufferFolder() + "/naklejka.dat", true, settingsFile()}, lines);
        return lines;
    }

    // Call numbers "II n" printed on every sheet so far, each PDF read once.
    std::map<int, int> printedCounts()
    {
        for (const QString& name : printedFiles()) {
            if (m_read.contains(name))
                continue;
            QProcess text;
            text.start(QStringLiteral("pdftotext"),
                       {bufferFolder() + QStringLiteral("/wydruki/") + name, QStringLiteral("-")});
            EXPECT_TRUE(text.waitForFinished(30000));
            static const QRegularExpression callNumber(QStringLiteral("II (\\d+)"));
            QList<int> numbers;
            for (const auto& match : callNumber.globalMatch(QString::fromUtf8(text.readAll())))
                numbers << match.captured(1).toInt();
            m_read.insert(name, numbers);
        }
        std::map<int, int> counts;
        for (const QList<int>& numbers : std::as_const(m_read))
            for (int n : numbers)
                ++counts[n];
        return counts;
    }

    // Refills the saved queue when less than a sheet waits, so every trial has sheets to print.
    void refill()
    {
        const QStringList waiting = settledQueue();
        if (waiting.size() >= 24)
            return;
        writeFile(savedQueueFile(),
                  QueueFile::serialize(waiting + numberedLines(m_next, m_next + 119), true));
        m_next += 120;
    }

    // Every label made so far exactly once on paper or in the queue; false after a report.
    bool eachLabelOnce()
    {
        std::map<int, int> counts = printedCounts();
        for (const QString& line : settledQueue())
            ++counts[line.section(QLatin1Char('|'), 1).mid(3).toInt()];
        for (int n = 1; n < m_next; ++n) {
            if (counts[n] != 1) {
                ADD_FAILURE() << "label " << n << " found " << counts[n] << " times";
                return false;
            }
        }
        return true;
    }

    // Runs `trials` copies, each killed after a random delay in [from, to) ms. The range reaches
    // well past the first sheet, so that a loaded machine still has most kills land in a run.
    void killStorm(const QStringList& arguments, int trials, int from, int to)
    {
        std::mt19937 random(std::random_device{}());
        int printedBeforeKill = 0;
        for (int trial = 0; trial < trials; ++trial) {
            refill();
            QProcess& copy = start(arguments, shell({}));
            QThread::msleep(from + random() % (to - from));
            copy.kill();
            copy.waitForFinished();
            printedBeforeKill += printedFiles().size() > m_lastFileCount;
            m_lastFileCount = printedFiles().size();
            ASSERT_TRUE(eachLabelOnce()) << "after trial " << trial;
        }
        RecordProperty("trials", trials);
        RecordProperty("trials_that_printed", printedBeforeKill);
        EXPECT_GT(printedBeforeKill, trials / 4) << "the kills must land while sheets print";
    }

    int m_next = 1;
    qsizetype m_lastFileCount = 0;
    QHash<QString, QList<int>> m_read;
};

TEST_F(KilledWhilePrinting, ThePrintQueueRun)
{
    killStorm({QStringLiteral("--print-queue"), settingsFile()}, 100, 30, 700);
}

TEST_F(KilledWhilePrinting, TheTrayCopyPrintingWithoutPreview)
{
    writeSettings(true);
    // The first tick comes a second after start and prints every full sheet at once.
    killStorm({settingsFile()}, 30, 900, 2500);
}

} // namespace
