#include "virtualdesktop.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString appTitle = QStringLiteral("Drukowanie kodów kreskowych");

// Starts copies of the built program, each from a private folder so that its default buffer
// folder "temp/" beside it is the test's own.
class ProgramOnADesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!desktop.available())
            GTEST_SKIP() << "Xvfb and xdotool are needed";
        program = m_dir.filePath(QStringLiteral("zelk_nal"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZELK_PROGRAM), program));
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("temp"))));
    }

    std::unique_ptr<QProcess> launch(const QStringList& arguments = {})
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(desktop.environment());
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }

    QStringList filesInFolder() const
    {
        QStringList files;
        QDirIterator it(m_dir.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    VirtualDesktop desktop;
    QTemporaryDir m_dir;
    QString program;
};

TEST_F(ProgramOnADesktop, SecondCopyIsRefusedAndCloseRequestEndsTheFirst)
{
    auto first = launch();
    ASSERT_FALSE(desktop.waitForWindow(appTitle, false).isEmpty())
        << "the running copy publishes its title";
    const QStringList filesBefore = filesInFolder();

    auto second = launch();
    const QString refusal = desktop.waitForWindow(appTitle, true);
    ASSERT_FALSE(refusal.isEmpty()) << "the refusal message box is shown";
    desktop.xdotool({"windowfocus", "--sync", refusal});
    desktop.xdotool({"key", "--clearmodifiers", "Return"});
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(filesInFolder(), filesBefore) << "a refused copy touches no file";

    auto close = launch({QStringLiteral("--close")});
    ASSERT_TRUE(close->waitForFinished(10000));
    EXPECT_EQ(close->exitCode(), 0);
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);

    auto closeAgain = launch({QStringLiteral("--close")});
    ASSERT_TRUE(closeAgain->waitForFinished(10000));
    EXPECT_EQ(closeAgain->exitCode(), 1) << "no copy runs any more";
}

TEST_F(ProgramOnADesktop, TerminationSignalEndsTheProgramCleanly)
{
    auto running = launch();
    ASSERT_FALSE(desktop.waitForWindow(appTitle, false).isEmpty());
    running->terminate();
    ASSERT_TRUE(running->waitForFinished(10000));
    EXPECT_EQ(running->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(running->exitCode(), 0);
}

TEST_F(ProgramOnADesktop, TerminationEndsTheProgramEvenBehindAModalMessage)
{
    // An identifier font too large for the label: showing the sheet reports it in a message box.
    QFile settings(m_dir.filePath(QStringLiteral("zelk_nal.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Identyfikator]\r\nWielkosc Czcionki=40\r\n");
    settings.close();
    QFile buffer(m_dir.filePath(QStringLiteral("temp/naklejka.dat")));
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    for (int i = 0; i < 24; ++i)
        buffer.write(
            QStringLiteral("1000000000%1|II %1\r\n").arg(i, 2, 10, QLatin1Char('0')).toUtf8());
    buffer.close();

    auto running = launch();
    ASSERT_FALSE(
        desktop.waitForWindow(QStringLiteral("Zelk - drukowanie kodów kreskowych"), true).isEmpty())
        << "the fit error is shown";
    running->terminate();
    ASSERT_TRUE(running->waitForFinished(10000));
    EXPECT_EQ(running->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(running->exitCode(), 0);
    QFile saved(m_dir.filePath(QStringLiteral("temp/zelk.nal")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count('\n'), 24);
}

} // namespace
