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

} // namespace
