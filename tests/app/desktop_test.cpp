#include "virtualdesktop.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString appTitle = QStringLiteral("Drukowanie kodów kreskowych");
const QString windowCaption = QStringLiteral("Drukowanie naklejek z kodem kreskowym");

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

    // A request of another copy, run to its end; its exit code.
    int request(const QString& option)
    {
        const auto process = launch({option});
        EXPECT_TRUE(process->waitForFinished(10000));
        return process->exitCode();
    }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Five labels in the buffer and the sheets printed to "Plik PDF", in temp/wydruki/.
    void queueFiveLabelsForThePdfPrinter() const
    {
        writeFile(QStringLiteral("zelk_nal.ini"), "[DRUKARKA]\r\nnazwa=Plik PDF\r\n");
        QByteArray lines;
        for (int i = 0; i < 5; ++i)
            lines +=
                QStringLiteral("1000000000%1|II %1\r\n").arg(i, 2, 10, QLatin1Char('0')).toUtf8();
        writeFile(QStringLiteral("temp/naklejka.dat"), lines);
    }

    QStringList savedQueue() const
    {
        QFile saved(m_dir.filePath(QStringLiteral("temp/zelk.nal")));
        if (!saved.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(saved.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    QStringList printedFiles() const
    {
        return QDir(m_dir.filePath(QStringLiteral("temp/wydruki")))
            .entryList({QStringLiteral("*.pdf")}, QDir::Files);
    }

    // Starts the copy that the requests reach, and waits until it has taken the buffer.
    std::unique_ptr<QProcess> launchRunningCopy()
    {
        auto running = launch();
        EXPECT_FALSE(desktop.waitForWindow(appTitle, false).isEmpty());
        EXPECT_TRUE(waitUntil([this] { return !savedQueue().isEmpty(); }, 10000));
        return running;
    }

    void closeRunningCopy(QProcess& running)
    {
        EXPECT_EQ(request(QStringLiteral("--close")), 0);
        EXPECT_TRUE(running.waitForFinished(10000));
        EXPECT_EQ(running.exitCode(), 0);
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

TEST_F(ProgramOnADesktop, ShowRequestShowsTheWindow)
{
    queueFiveLabelsForThePdfPrinter();
    auto running = launchRunningCopy();
    EXPECT_TRUE(desktop.waitForWindow(windowCaption, true, 1500).isEmpty())
        << "less than a sheet: the window stays hidden";
    EXPECT_EQ(request(QStringLiteral("--show")), 0);
    EXPECT_FALSE(desktop.waitForWindow(windowCaption, true).isEmpty());
    closeRunningCopy(*running);
}

TEST_F(ProgramOnADesktop, PrintPageRequestPrintsAndTakesTheLabelsOff)
{
    queueFiveLabelsForThePdfPrinter();
    auto running = launchRunningCopy();
    EXPECT_EQ(request(QStringLiteral("--print-page")), 0);
    EXPECT_TRUE(waitUntil([this] { return printedFiles().size() == 1; }, 10000));
    EXPECT_TRUE(waitUntil([this] { return savedQueue().isEmpty(); }, 10000));
    EXPECT_TRUE(
        desktop.waitForWindow(QStringLiteral("Zelk - drukowanie kodów kreskowych"), true, 1000)
            .isEmpty())
        << "no question waits";
    closeRunningCopy(*running);
}

TEST_F(ProgramOnADesktop, SettingsRequestOpensTheSettingsOverTheWindow)
{
    auto running = launch();
    ASSERT_FALSE(desktop.waitForWindow(appTitle, false).isEmpty());
    EXPECT_EQ(request(QStringLiteral("--settings")), 0);
    EXPECT_FALSE(
        desktop.waitForWindow(QStringLiteral("Parametry wydruku naklejek"), true).isEmpty());
    EXPECT_FALSE(desktop.waitForWindow(windowCaption, true).isEmpty());
    closeRunningCopy(*running);
}

} // namespace

// The menu entry passes the desktop's own check, and each of its actions is a request the
// program knows.
TEST(DesktopEntry, IsValidAndItsActionsAreProgramRequests)
{
    const QString entry = QStringLiteral(ZELK_SOURCE_DIR "/packaging/zelk_nal.desktop");
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(QStringLiteral("desktop-file-validate"), {entry});
        ASSERT_TRUE(validate.waitForFinished(10000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().toStdString();
    }
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QProcess help;
    help.start(QStringLiteral(ZELK_PROGRAM), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(10000));
    const QString options = QString::fromUtf8(help.readAllStandardOutput());

    const QRegularExpression actionsLine(QStringLiteral("^Actions=(.*);$"),
                                         QRegularExpression::MultilineOption);
    const QStringList actions = actionsLine.match(text).captured(1).split(QLatin1Char(';'));
    EXPECT_EQ(actions, (QStringList{"show", "print", "settings", "close"}));
    for (const QString& action : actions) {
        SCOPED_TRACE(action.toStdString());
        const QRegularExpression group(
            QStringLiteral("^\\[Desktop Action %1\\]\nName=(.+)\nExec=zelk_nal (--[a-z-]+)$")
                .arg(action),
            QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = group.match(text);
        ASSERT_TRUE(match.hasMatch());
        EXPECT_TRUE(options.contains(QStringLiteral("  ") + match.captured(2) + QLatin1Char(' ')))
            << "the program knows " << match.captured(2).toStdString();
    }
}
