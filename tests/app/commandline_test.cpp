#include "platform/version.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The program's answers that show nothing, run as a script on a server would: no display, or
// the display variables `display` (NAME=VALUE) of a display that is gone.
struct ProgramRun {
    int exitCode;
    QString output;
    QString errors;
    QProcess::ExitStatus exitStatus = QProcess::NormalExit;
};

ProgramRun runWithoutDisplay(const QStringList& arguments, const QStringList& display = {})
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    for (const QString& variable : display)
        env.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    env.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), runtime.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZELK_PROGRAM), arguments);
    process.waitForFinished(20000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()), process.exitStatus()};
}

// The help names the settings file this copy reads: beside it, as it is not installed.
TEST(CommandLineWithoutDisplay, TextAnswersNeedNoDisplay)
{
    const ProgramRun version = runWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.output.contains(programVersionText())) << version.output.toStdString();

    const ProgramRun help = runWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains(QStringLiteral("--close")));
    EXPECT_TRUE(help.output.contains(QFileInfo(QStringLiteral(ZELK_PROGRAM)).absolutePath() +
                                     QStringLiteral("/zelk_nal.ini")))
        << help.output.toStdString();
}

// A command run where the display is gone (a stale ssh display, `sudo -u`, a Wayland variable
// without a compositor) or missing: it works or says why, and never aborts.
struct BrokenDisplayCase {
    const char* name;
    QStringList arguments;
    int exitCode;
    const char* errors; // the start of its standard error
};

class CommandWithBrokenDisplay : public ::testing::TestWithParam<BrokenDisplayCase> {};

TEST_P(CommandWithBrokenDisplay, AnswersWithoutAborting)
{
    const QList<QStringList> displays{{},
                                      {QStringLiteral("DISPLAY=:199")},
                                      {QStringLiteral("WAYLAND_DISPLAY=wayland-199")},
                                      {QStringLiteral("XDG_SESSION_TYPE=wayland"),
                                       QStringLiteral("WAYLAND_DISPLAY=wayland-199"),
                                       QStringLiteral("DISPLAY=:199")}};
    for (const QStringList& display : displays) {
        SCOPED_TRACE(display.join(QLatin1Char(' ')).toStdString());
        const ProgramRun run = runWithoutDisplay(GetParam().arguments, display);
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
        EXPECT_EQ(run.exitCode, GetParam().exitCode);
        EXPECT_TRUE(run.errors.toUtf8().startsWith(GetParam().errors)) << run.errors.toStdString();
    }
}

const char notRunning[] = "zelk_nal: program nie jest uruchomiony.\n";
const char noScreen[] = "zelk_nal: program nie jest uruchomiony.\nzelk_nal: brak dostępu do ekranu";

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandWithBrokenDisplay,
    ::testing::Values(BrokenDisplayCase{"help", {"--help"}, 0, ""},
                      BrokenDisplayCase{"version", {"--version"}, 0, ""},
                      BrokenDisplayCase{
                          "unknownOption", {"--bogus"}, 1, "zelk_nal: Nieznana opcja"},
                      BrokenDisplayCase{"close", {"--close"}, 1, notRunning},
                      BrokenDisplayCase{"show", {"--show"}, 1, noScreen},
                      BrokenDisplayCase{"printPage", {"--print-page"}, 1, noScreen},
                      BrokenDisplayCase{"settings", {"--settings"}, 1, noScreen},
                      BrokenDisplayCase{"start", {}, 1, "zelk_nal: brak dostępu do ekranu"}),
    [](const auto& info) { return std::string(info.param.name); });

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
