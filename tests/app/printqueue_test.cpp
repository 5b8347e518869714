#include "labels/queuefile.h"
#include "platform/instancechannel.h"
#include "platform/profilefile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZELK_PROGRAM),
                      QStringList{QStringLiteral("--print-queue"), settingsFile()} + options);
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

    QStringList options; // given after the settings file

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
    EXPECT_EQ(errors, QStringLiteral("zelk_nal: --start 25: arkusz ma 24 miejsc.\n"));
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
    EXPECT_TRUE(errors.contains(QStringLiteral("Brak domyślnej drukarki"))) << errors.toStdString();
    EXPECT_EQ(savedQueue(), labelLines(50));
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

} // namespace
