#include "platform/version.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The program's answers that show nothing, run as a script on a server would: no display.
struct ProgramRun {
    int exitCode;
    QString output;
    QString errors;
};

ProgramRun runWithoutDisplay(const QStringList& arguments)
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), runtime.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZELK_PROGRAM), arguments);
    process.waitForFinished(20000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(CommandLineWithoutDisplay, CloseRequestAndTextAnswersNeedNoDisplay)
{
    const ProgramRun close = runWithoutDisplay({QStringLiteral("--close")});
    EXPECT_EQ(close.exitCode, 1);
    EXPECT_TRUE(close.errors.contains(QStringLiteral("program nie jest uruchomiony")))
        << close.errors.toStdString();

    const ProgramRun version = runWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.output.contains(programVersionText())) << version.output.toStdString();

    const ProgramRun help = runWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains(QStringLiteral("--close")));
}

// The requests to the running copy say so when none runs, from a server's shell as well.
class RequestWithoutRunningCopy : public ::testing::TestWithParam<const char*> {};

TEST_P(RequestWithoutRunningCopy, FailsWithTheReason)
{
    const ProgramRun run = runWithoutDisplay({QLatin1String(GetParam())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, QStringLiteral("zelk_nal: program nie jest uruchomiony.\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Options, RequestWithoutRunningCopy,
    ::testing::Values("--close", "--show", "--print-page", "--settings"), [](const auto& info) {
        return QString::fromLatin1(info.param + 2).remove(QLatin1Char('-')).toStdString();
    });

// Every line of the help is Polish: none of Qt's own English headings and option texts stays.
TEST(CommandLineWithoutDisplay, HelpIsPolishThroughout)
{
    const ProgramRun help = runWithoutDisplay({QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    for (const char* english :
         {"Usage", "Options", "Arguments", "Displays", "information", "commandline", "Qt"}) {
        EXPECT_FALSE(help.output.contains(QLatin1String(english), Qt::CaseInsensitive))
            << english << " in:\n"
            << help.output.toStdString();
    }
    for (const char* option : {"--close", "--show", "--print-page", "--settings", "--print-queue",
                               "--help", "--version", "SETTINGS"})
        EXPECT_TRUE(help.output.contains(QLatin1String(option))) << option;
}

// An option the program does not know is named and answered with the help, exit 1, on a server
// as well; the batch run's command line is checked the same way.
TEST(CommandLineWithoutDisplay, UnknownOptionShowsHelpAndFails)
{
    const QList<QStringList> commandLines{
        {QStringLiteral("--bogus")},
        {QStringLiteral("-x")},
        {QStringLiteral("--help-all")},
        {QStringLiteral("--print-queue"), QStringLiteral("--bogus")}};
    for (const QStringList& arguments : commandLines) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const ProgramRun run = runWithoutDisplay(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains(QStringLiteral("Nieznana opcja")))
            << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QStringLiteral("--print-queue")))
            << run.errors.toStdString();
        EXPECT_FALSE(run.errors.contains(QStringLiteral("Unknown"))) << run.errors.toStdString();
    }
}

} // namespace
