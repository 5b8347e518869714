#include "platform/files/profilefile.h"
#include "platform/version.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The program's answers that show nothing, run as a script on a server would: no display, or
// the variables (NAME=VALUE …) of a display that is gone. A crash's exit code is -1.
struct ProgramRun {
    int exitCode;
    QString output;
    QString errors;
};

ProgramRun runWithoutDisplay(const QStringList& arguments, const QString& display = {})
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    for (const QString& variable : display.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        env.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    env.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), runtime.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZELK_PROGRAM), arguments);
    process.waitForFinished(20000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The label stock from a shell: the catalogue searched, and a sheet written into the settings
// file with its nearest whole millimetres; what is wrong is said, with exit code 1.
TEST(CommandLineWithoutDisplay, StockIsListedAndWrittenIntoTheSettings)
{
    if (!QFileInfo::exists(QStringLiteral("/usr/share/libglabels-3.0/templates")))
        GTEST_SKIP() << "glabels-data is not installed (scripts/install-deps.sh installs it)";
    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("zelk_nal.ini"));
    const QString missing = folder.filePath(QStringLiteral("brak/"));
    const struct {
        QStringList arguments;
        int exitCode;
        QString output;
        QString errors;
    } commands[] = {
        {{"--stock", "L7160"},
         0,
         "Avery L7160                  63,99 × 38,1 mm   3 × 7    A4\n",
         ""},
        {{"--stock", "no", "such"},
         1,
         "",
         "zelk_nal: żaden arkusz z katalogu nie pasuje do „no such”.\n"},
        {{"--set-stock", "avery  l7160", settings},
         0,
         "zelk_nal: arkusz Avery L7160 (63,99 × 38,1 mm, 3 × 7, A4) zapisany w " + settings + ".\n",
         ""},
        {{"--set-stock", "Avery 5294", settings},
         1,
         "",
         "zelk_nal: arkusza Avery 5294 program nie drukuje: okrągłe lub owalne naklejki.\n"},
        {{"--set-stock", "Avery L7160", missing},
         1,
         "",
         "zelk_nal: Unable to write to " + missing + "zelk_nal.ini\n"}};
    for (const auto& [arguments, exitCode, output, errors] : commands) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const ProgramRun run = runWithoutDisplay(arguments);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_EQ(run.output, output);
        EXPECT_EQ(run.errors, errors);
    }
    const ProfileFile written(settings);
    EXPECT_EQ(written.readString(u"Arkusz Naklejek", u"Symbol"), u"L7160");
    EXPECT_EQ(written.readInteger(u"Wymiary Nalepki", u"Szerokość", 0), 66);
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
// without a compositor) or missing: it works or says why (the start of its standard error),
// and never aborts.
TEST(CommandLineWithoutDisplay, CommandsAnswerWithoutAbortingWhereTheDisplayIsBroken)
{
    const char notRunning[] = "zelk_nal: program nie jest uruchomiony.\n";
    const char noScreen[] = "zelk_nal: brak dostępu do ekranu";
    const QByteArray requestWithoutScreen = QByteArray(notRunning) + noScreen;
    const struct {
        QStringList arguments;
        int exitCode;
        QByteArray errors;
    } commands[] = {{{"--help"}, 0, ""},
                    {{"--version"}, 0, ""},
                    {{"--bogus"}, 1, "zelk_nal: Nieznana opcja"},
                    {{"--close"}, 1, notRunning},
                    {{"--show"}, 1, requestWithoutScreen},
                    {{"--print-page"}, 1, requestWithoutScreen},
                    {{"--settings"}, 1, requestWithoutScreen},
                    {{}, 1, noScreen}};
    for (const auto& [arguments, exitCode, errors] : commands) {
        for (const char* display :
             {"", "DISPLAY=:199", "WAYLAND_DISPLAY=wayland-199",
              "XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-199 DISPLAY=:199"}) {
            SCOPED_TRACE(arguments.join(u' ').toStdString() + " with " + display);
            const ProgramRun run = runWithoutDisplay(arguments, QString::fromLatin1(display));
            EXPECT_EQ(run.exitCode, exitCode);
            EXPECT_TRUE(run.errors.toUtf8().startsWith(errors)) << run.errors.toStdString();
        }
    }
}

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
