#include "labels/printjournal.h"
#include "labels/queuefile.h"
#include "platform/files/fileops.h"
#include "platform/files/instancechannel.h"
#include "platform/files/profilefile.h"

#include <functional>
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList labelLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const QString identifier = QString::number(100000000000LL + i);
        lines << identifier + QStringLiteral("|II ") + identifier.right(4);
    }
    return lines;
}

// `zelk_nal --print-queue SETTINGS` run as a process, without a display, with a settings file
// that puts the buffer in a private folder and prints to "Plik PDF".
class PrintQueueRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir().mkpath(bufferFolder()));
        ASSERT_TRUE(QDir().mkpath(runtimeFolder()));
        QFile::setPermissions(runtimeFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(settingsFile(), QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=Plik "
                                                 "PDF\n")
                                      .arg(bufferFolder())
                                      .toUtf8());
    }

    QString folder() const { return m_dir.path(); }
    QString bufferFolder() const { return m_dir.filePath(QStringLiteral("bufor")); }
    QString runtimeFolder() const { return m_dir.filePath(QStringLiteral("run")); }
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("zelk_nal.ini")); }
    QString buffer() const { return bufferFolder() + QStringLiteral("/naklejka.dat"); }
    QString printFolder() const { return bufferFolder() + QStringLiteral("/wydruki"); }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void writeBuffer(int count) const
    {
        writeFile(buffer(), (labelLines(count).join(QLatin1Char('\n')) + '\n').toUtf8());
    }

    // Runs the program to its end; returns its exit code, standard error in `errors`, standard
    // output in `output`.
    int run(QString* errors = nullptr, QString* output = nullptr) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), runtimeFolder());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        for (auto [name, value] : extraEnvironment.asKeyValueRange())
            environment.insert(name, value);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZELK_PROGRAM), QStringList{mode, settingsFile()} + options);
        EXPECT_TRUE(process.waitForFinished(60000));
        if (errors)
            *errors = QString::fromUtf8(process.readAllStandardError());
        if (output)
            *output = QString::fromUtf8(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QStringList savedQueue() const
    {
        QFile saved(bufferFolder() + QStringLiteral("/zelk.nal"));
        if (!saved.open(QIODevice::ReadOnly))
            return {};
        return QueueFile::parse(saved.readAll(), true);
    }

    QStringList printedFiles() const
    {
        return QDir(printFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    }

    int keptFirstFree() const
    {
        return ProfileFile(settingsFile()).readInteger(u"Sposób Wydruku", u"Pierwsza Wolna", 0);
    }

    QString mode = QStringLiteral("--print-queue");
    QStringList options; // given after the settings file
    QMap<QString, QString> extraEnvironment;

private:
    QTemporaryDir m_dir;
};

TEST_F(PrintQueueRun, StartsAtTheGivenPlaceAndPrintsAPartialSheetWhenAsked)
{
    writeBuffer(18);
    options = QStringList{QStringLiteral("--start"), QStringLiteral("7")};
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(printedFiles().size(), 1) << "18 labels fill a sheet from place 7";
    EXPECT_TRUE(savedQueue().isEmpty());
    EXPECT_EQ(keptFirstFree(), 1);

    writeBuffer(30);
    options = QStringList{QStringLiteral("--partial")};
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(printedFiles().size(), 3);
    EXPECT_TRUE(savedQueue().isEmpty());
    EXPECT_EQ(keptFirstFree(), 7);

    writeBuffer(5);
    options = QStringList{QStringLiteral("--start"), QStringLiteral("25")};
    QString errors;
    EXPECT_EQ(run(&errors), 1);
    EXPECT_EQ(errors, QStringLiteral("zelk_nal: --start 25: arkusz ma 24 miejsca.\n"));
    EXPECT_TRUE(QFile::exists(buffer()));
    EXPECT_EQ(keptFirstFree(), 7);
}

TEST_F(PrintQueueRun, PrintsTheFullSheetsAndKeepsTheRest)
{
    struct Case {
        int lines;
        int sheets;
    };
    for (const Case& c : {Case{50, 2}, Case{24, 1}, Case{23, 0}, Case{0, 0}}) {
        SCOPED_TRACE(c.lines);
        QDir(printFolder()).removeRecursively();
        QFile::remove(bufferFolder() + QStringLiteral("/zelk.nal"));
        writeBuffer(c.lines);

        QString errors;
        EXPECT_EQ(run(&errors), 0);
        EXPECT_EQ(errors, QString()); // nothing for a script to mistake for a fault
        EXPECT_EQ(printedFiles().size(), c.sheets);
        EXPECT_EQ(savedQueue(), labelLines(c.lines).mid(c.sheets * 24));
        EXPECT_FALSE(QFile::exists(buffer()));
    }
}

TEST_F(PrintQueueRun, HistoryListsThePrintedSheetsAndReprintLeavesTheQueue)
{
    writeBuffer(50);
    EXPECT_EQ(run(), 0);
    const QStringList waiting = savedQueue();

    mode = QStringLiteral("--history");
    QString output;
    EXPECT_EQ(run(nullptr, &output), 0);
    const QStringList listed = output.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_TRUE(listed[0].startsWith("  2  ") && listed[0].endsWith("100000000024–100000000047"));
    EXPECT_TRUE(listed[1].startsWith("  1  ") && listed[1].endsWith("100000000000–100000000023"));

    mode = QStringLiteral("--reprint=1");
    EXPECT_EQ(run(nullptr, &output), 0);
    EXPECT_TRUE(output.startsWith("Wydrukowane ponownie naklejki: 24,"));
    EXPECT_EQ(printedFiles().size(), 3);
    EXPECT_EQ(savedQueue(), waiting);
    mode = QStringLiteral("--history");
    EXPECT_EQ(run(nullptr, &output), 0);
    EXPECT_TRUE(output.startsWith("  3  ") && output.endsWith(listed.join(u'\n') + '\n'))
        << "the numbers stay as sheets are added";

    mode = QStringLiteral("--reprint=4");
    QString errors;
    EXPECT_EQ(run(&errors), 1);
    EXPECT_EQ(errors, QStringLiteral("zelk_nal: w historii wydruków %1/zelk.nal.historia nie ma "
                                     "arkusza 4 (są w niej arkusze od 1 do 3); listę wypisuje "
                                     "zelk_nal --history.\n")
                          .arg(bufferFolder()));
}

TEST_F(PrintQueueRun, SavedQueueComesBeforeTheBuffer)
{
    writeFile(bufferFolder() + QStringLiteral("/zelk.nal"),
              labelLines(20).join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    writeFile(buffer(), (labelLines(30).mid(20).join(QLatin1Char('\n')) + '\n').toUtf8());

    EXPECT_EQ(run(), 0);
    EXPECT_EQ(printedFiles().size(), 1);
    EXPECT_EQ(savedQueue(), labelLines(30).mid(24));
}

TEST_F(PrintQueueRun, FailedPrintingKeepsTheQueueAndFails)
{
    writeBuffer(50);
    writeFile(printFolder(), "not a folder"); // the PDF files cannot be written

    QString errors;
    EXPECT_EQ(run(&errors), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("Nie można zapisać pliku %1/").arg(printFolder())))
        << errors.toStdString();
    EXPECT_EQ(savedQueue(), labelLines(50));
}

// A cron job judges the run by its exit code: a warning on the way (a missing logo) goes to
// standard error, and a run that printed every full sheet has succeeded.
TEST_F(PrintQueueRun, AWarningDoesNotFailARunThatPrintedEverySheet)
{
    writeFile(settingsFile(), QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=Plik PDF\n"
                                             "[Wygląd Nalepki]\nZ Logo Biblioteki=1\nŚcieżka do "
                                             "Logo=%1/brak.bmp\n")
                                  .arg(bufferFolder())
                                  .toUtf8());
    writeBuffer(24);
    QString errors;
    EXPECT_EQ(run(&errors), 0);
    EXPECT_TRUE(errors.contains(QStringLiteral("Brak pliku z logo"))) << errors.toStdString();
    EXPECT_EQ(printedFiles().size(), 1);
}

// Each column is as wide as its widest entry, however many sheets and whichever printers.
TEST_F(PrintQueueRun, HistoryColumnsStayAligned)
{
    writeFile(bufferFolder() + "/zelk.nal.historia",
              "x 1 0 0 1 1 2 0 2026-12-09T14:05:31.000 E x 10%7CII #999\n"
              "x 2 0 0 1 1 2 0 2026-12-09T14:06:31.000 Etykiety x 12%7CII #1000\n");
    mode = QStringLiteral("--history");
    QString output;
    EXPECT_EQ(run(nullptr, &output), 0);
    const QStringList listed = output.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(listed.size() == 2 && listed[0].indexOf(u'2') == listed[1].indexOf(u'2') &&
                listed[0].size() == listed[1].size())
        << output.toStdString();
}

TEST_F(PrintQueueRun, SaysWhereTheSheetsWent)
{
    writeBuffer(50);
    QString output;
    EXPECT_EQ(run(nullptr, &output), 0);
    QStringList expected{QStringLiteral("Wydrukowane naklejki: 48, w kolejce zostało: 2."),
                         QStringLiteral("Arkusze zapisano w plikach:")};
    for (const QString& name : printedFiles())
        expected << "  " + printFolder() + '/' + name;
    EXPECT_EQ(output.trimmed().split(u'\n'), expected);
}

TEST_F(PrintQueueRun, APrinterThatIsNotInstalledPrintsNothing)
{
    writeFile(settingsFile(), QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=Magazyn\n")
                                  .arg(bufferFolder())
                                  .toUtf8());
    writeBuffer(24);
    QString errors;
    EXPECT_EQ(run(&errors), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("drukarka „Magazyn” wskazana w ustawieniach")))
        << errors.toStdString();
    EXPECT_TRUE(printedFiles().isEmpty()) << "not sent to another printer instead";
    EXPECT_EQ(savedQueue(), labelLines(24));
}

TEST_F(PrintQueueRun, RefusedWhileAnotherCopyRuns)
{
    writeBuffer(50);
    InstanceChannel runningCopy(runtimeFolder());
    ASSERT_TRUE(runningCopy.tryLock());

    QString errors;
    EXPECT_EQ(run(&errors), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("program jest już uruchomiony")))
        << errors.toStdString();
    EXPECT_TRUE(printedFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(bufferFolder() + QStringLiteral("/zelk.nal")));
    QFile untouched(buffer());
    ASSERT_TRUE(untouched.open(QIODevice::ReadOnly));
    EXPECT_EQ(untouched.readAll(), (labelLines(50).join(QLatin1Char('\n')) + '\n').toUtf8());
}

// Files under the program's own names in a shared buffer folder (mode 1777) that it did not
// write, or whose records do not match the saved queue, and what the owner's next run makes of
// them: no waiting label is lost, the report names the file (and, for another account's file,
// its owner), and the exit code says so. The owner's 30 labels wait in zelk.nal.
struct PlantedFile {
    const char* name;
    QByteArray bytes; // "@ID@" stands for the identity of zelk.nal
    uid_t owner = 65534;
    int mode = 0644;
};
struct Planted {
    const char* name;
    QList<PlantedFile> files;
    const char* named; // the file the report names
    const char* owner = "nobody";
    int exitCode = 1;
    int sheets = 0;  // the sheets the run prints
    int arrived = 0; // labels that joined the queue from a taken file
    const char* mode = "--print-queue";
};

// A print journal with a sheet of the first 24 labels, accepted and printed, as `change` leaves it.
QByteArray journal(const std::function<void(SheetRecord&)>& change = [](SheetRecord&) {})
{
    SheetRecord sheet{.to = QueueFile::serialize(labelLines(24), true).size(),
                      .lines = 24,
                      .labels = labelLines(24)};
    change(sheet);
    return "zelk_nal druk 1 @ID@ x\nS " + PrintJournal::sheetFields(sheet) + "\nA 0\nR 0\n";
}

class PlantedFiles : public PrintQueueRun, public ::testing::WithParamInterface<Planted> {};

TEST_P(PlantedFiles, LoseNoLabelAndAreNamed)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "another account's files can be made as root only";
    const Planted& c = GetParam();
    ::chmod(qPrintable(bufferFolder()), 01777);
    const QString folder = bufferFolder() + '/';
    writeFile(folder + "zelk.nal", QueueFile::serialize(labelLines(30), true));
    for (const PlantedFile& planted : c.files) {
        const QString path = folder + planted.name;
        writeFile(path, QByteArray(planted.bytes)
                            .replace("@ID@", FileOps::identity(folder + "zelk.nal").toLatin1()));
        ASSERT_EQ(::chown(qPrintable(path), planted.owner, planted.owner) |
                      ::chmod(qPrintable(path), planted.mode),
                  0);
    }
    if (QFile::exists(folder + "zelk.nal.lock")) // held, as by another account's process, for good
        ::flock(::open(qPrintable(folder + "zelk.nal.lock"), O_RDONLY), LOCK_EX);
    mode = c.mode;

    QString errors;
    EXPECT_EQ(run(&errors), c.exitCode) << errors.toStdString();
    EXPECT_TRUE(!c.named || (errors.contains(folder + c.named) && errors.contains(c.owner)))
        << errors.toStdString();
    EXPECT_EQ(printedFiles().size(), c.sheets);
    EXPECT_EQ(savedQueue(), labelLines(30 + c.arrived).mid(c.sheets * 24));
    EXPECT_EQ(keptFirstFree(), c.sheets > 0 ? 1 : 0) << "no place from a record that failed";
}

const QByteArray history = "x 1 0 0 1 1 2 0 2026-12-09T14:05:31.000 E x 1%7CEVIL #1\n";

INSTANTIATE_TEST_SUITE_P(
    , PlantedFiles,
    ::testing::Values(
        Planted{"AMarker",
                {{"zelk.nal.dopisek", "0 0\n"}, {"naklejka.dat.taken", ""}},
                "zelk.nal.dopisek"},
        Planted{"AJournal", {{"zelk.nal.druk", journal()}}, "zelk.nal.druk"},
        Planted{"AFoldFile", {{"zelk.nal.fold", "1|EVIL\r\n"}}, "zelk.nal.fold"},
        Planted{"ATemporaryFile", {{"zelk.nal.tmp", ""}}, "zelk.nal.tmp"},
        Planted{"AHistoryOpenToAll",
                {{"zelk.nal.historia", history, 0, 0666}},
                "zelk.nal.historia",
                "root",
                1,
                0,
                0,
                "--reprint=1"},
        Planted{"ASetAsideFile",
                {{"zelk.nal.odrzucone", ""}, {"naklejka.dat", "zły|1\n"}},
                "zelk.nal.odrzucone",
                "nobody",
                1,
                1},
        Planted{"ALockFile", {{"zelk.nal.lock", ""}}, "zelk.nal.lock", "nobody", 2},
        Planted{"OwnJournalPastTheEnd",
                {{"zelk.nal.druk", journal([](SheetRecord& sheet) { sheet.to = 1 << 20; }), 0}},
                "zelk.nal.druk",
                "",
                1,
                1},
        Planted{"OwnJournalWithAPlaceOffTheSheet",
                {{"zelk.nal.druk", journal([](SheetRecord& sheet) { sheet.firstFree = -5; }), 0}},
                "zelk.nal.druk",
                "",
                1,
                1},
        Planted{"TheHostsTakenFile",
                {{"naklejka.dat.taken", QueueFile::serialize(labelLines(36).mid(30), true)}},
                nullptr,
                "",
                0,
                1,
                6}),
    [](const auto& info) { return std::string(info.param.name); });

// A run printing two sheets is killed at each step that changes a file, in turn; then a run
// prints what is left. Every label is on paper exactly once, none waits, and the first free
// place follows the last label. With "Plik PDF" each label is read back from the PDFs; with the
// CUPS queue the sheets are counted (a doubled or lost sheet changes the count).
class KilledAtEachStep : public PrintQueueRun, public ::testing::WithParamInterface<bool> {
protected:
    bool toCups() const { return GetParam(); }
    QString cupsQueue() const { return QStringLiteral("zelk-pdf-2"); }
    QString cupsOutput() const { return QStringLiteral("/tmp/zelk-cups-pdf-2"); }

    // A fresh folder: 30 labels waiting, the sheet in the printer free from place 11.
    void prepare()
    {
        QDir(bufferFolder()).removeRecursively();
        QDir().mkpath(bufferFolder());
        writeFile(settingsFile(),
                  QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=%2\n[Sposób "
                                 "Wydruku]\nPierwsza Wolna=11\n")
                      .arg(bufferFolder(), toCups() ? cupsQueue() : QStringLiteral("Plik PDF"))
                      .toUtf8());
        writeBuffer(30);
        options = QStringList{QStringLiteral("--partial")};
    }

    // Runs the program killed at `step`; false when it ended before that step.
    bool killedAt(int step)
    {
        extraEnvironment = {{QStringLiteral("LD_PRELOAD"), QStringLiteral(ZELK_KILLAT)},
                            {QStringLiteral("ZELK_KILL_IN"), folder()},
                            {QStringLiteral("ZELK_KILL_AT"), QString::number(step)}};
        const int exitCode = run();
        extraEnvironment.clear();
        return exitCode == -1;
    }

    // Each call number printed so far, with how often.
    QMap<QString, int> printedLabels() const
    {
        QMap<QString, int> counts;
        for (const QString& name : printedFiles()) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {printFolder() + '/' + name, "-"});
            text.waitForFinished();
            static const QRegularExpression callNumber(QStringLiteral("II \\d{4}"));
            for (const auto& match : callNumber.globalMatch(QString::fromUtf8(text.readAll())))
                ++counts[match.captured()];
        }
        return counts;
    }

    // The sheets cups-pdf has written once no job waits but the held ones, which never print;
    // none of them may be left held.
    int cupsSheets() const
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000 && jobs(false) > 0)
            QThread::msleep(200);
        QThread::msleep(300); // cups-pdf writes the file as the job ends
        EXPECT_EQ(jobs(true), 0) << "a held job that nothing names stays for ever";
        QProcess::execute(QStringLiteral("cancel"), {QStringLiteral("-a"), cupsQueue()});
        return int(QDir(cupsOutput()).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());
    }

    // The jobs of the queue that are held, or will print or print now.
    qsizetype jobs(bool held) const
    {
        QProcess lpstat;
        lpstat.start(QStringLiteral("lpstat"), {"-l", "-W", "not-completed", "-o", cupsQueue()});
        lpstat.waitForFinished();
        const QString jobs = QString::fromUtf8(lpstat.readAll());
        const qsizetype heldJobs = jobs.count(QStringLiteral("job-hold-until-specified"));
        return held ? heldJobs
                    : jobs.count(
                          QRegularExpression(QLatin1Char('^') + cupsQueue() + QLatin1Char('-'),
                                             QRegularExpression::MultilineOption)) -
                          heldJobs;
    }
};

TEST_P(KilledAtEachStep, EveryLabelPrintsOnce)
{
    if (toCups() && QProcess::execute(QStringLiteral("lpstat"), {"-p", cupsQueue()}) != 0)
        GTEST_SKIP() << "no CUPS queue " << qPrintable(cupsQueue()) << ": scripts/start-cups.sh";
    int step = 1;
    for (;; ++step) {
        SCOPED_TRACE(step);
        prepare();
        QDir(cupsOutput()).removeRecursively();
        QDir().mkpath(cupsOutput());
        const bool killed = killedAt(step);
        ASSERT_EQ(run(), 0);
        if (toCups()) {
            EXPECT_EQ(cupsSheets(), 2);
        } else {
            const QMap<QString, int> printed = printedLabels();
            EXPECT_EQ(printed.size(), 30);
            EXPECT_EQ(QList<int>(printed.begin(), printed.end()), QList<int>(printed.size(), 1));
        }
        EXPECT_TRUE(savedQueue().isEmpty());
        EXPECT_EQ(keptFirstFree(), 17); // 14 labels at places 11-24, then 16 from place 1
        EXPECT_FALSE(QFile::exists(bufferFolder() + QStringLiteral("/zelk.nal.druk")));
        if (!killed || HasFailure())
            break;
    }
    RecordProperty("steps", step);
    EXPECT_GT(step, 10);
}

INSTANTIATE_TEST_SUITE_P(Printers, KilledAtEachStep, ::testing::Values(false, true),
                         [](const auto& info) {
                             return info.param ? std::string("Cups") : std::string("PlikPdf");
                         });

} // namespace
