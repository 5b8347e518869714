#include "virtualdesktop.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The next line of `process` that starts with `prefix`, without it; empty after `ms`.
QString nextLine(QProcess& process, const QString& prefix, int ms)
{
    QElapsedTimer timer;
    for (timer.start(); timer.elapsed() < ms; process.waitForReadyRead(200)) {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
    }
    return {};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The session's services come after the program, as at login: a StatusNotifierItem host (no
// XEmbed tray) and a notification service, stand-ins in Python on a private session bus.
TEST(ProgramInADesktopSession, UsesTheTrayAndTheNotificationServiceThatComeLater)
{
    VirtualDesktop desktop(false);
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    const QString address = nextLine(bus, QStringLiteral("unix:"), 5000);
    if (!desktop.available() || address.isEmpty())
        GTEST_SKIP() << "Xvfb and dbus-daemon are needed";
    QProcessEnvironment environment = desktop.environment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:") + address);
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("temp")));
    writeFile(folder.filePath(QStringLiteral("zelk_nal.ini")),
              "[NAKLEJKI]\nścieżka=" + QFile::encodeName(folder.filePath("temp/")) +
                  "\n[DRUKARKA]\nnazwa=Plik PDF\n[Sposób Wydruku]\nBez Wyświetlania=1\n");
    QProcess running, services, activate;
    for (QProcess* process : {&running, &services, &activate})
        process->setProcessEnvironment(environment);
    running.start(QStringLiteral(ZELK_PROGRAM), {folder.filePath(QStringLiteral("zelk_nal.ini"))});
    QElapsedTimer sinceStart;
    sinceStart.start();
    ASSERT_FALSE(desktop.waitForWindow(QStringLiteral("Drukowanie kodów kreskowych"), false, 30000)
                     .isEmpty())
        << (running.waitForFinished(0) ? "the program ended, exit code " : "still running, ")
        << running.exitCode() << ":\n"
        << running.readAllStandardOutput().toStdString()
        << running.readAllStandardError().toStdString();
    // The system's Python, the one python3-dbus is for.
    services.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(ZELK_SOURCE_DIR "/tests/support/desktopservices.py")});
    const QString item = nextLine(services, QStringLiteral("item "), 15000);
    ASSERT_FALSE(item.isEmpty()) << "the icon joins the host that came later";

    QByteArray lines;
    for (int i = 10; i < 34; ++i)
        lines += "10000000" + QByteArray::number(i) + "|II " + QByteArray::number(i) + "\n";
    writeFile(folder.filePath(QStringLiteral("temp/naklejka.dat")), lines);
    EXPECT_TRUE(nextLine(services, QStringLiteral("notify "), 15000)
                    .startsWith(QStringLiteral(
                        "Drukowanie kodów kreskowych|Zapisano 24 naklejki w folderze ")));

    activate.start(QStringLiteral("dbus-send"),
                   {"--session", "--print-reply", "--dest=" + item, "/StatusNotifierItem",
                    "org.kde.StatusNotifierItem.Activate", "int32:0", "int32:0"});
    EXPECT_TRUE(activate.waitForFinished(10000) && activate.exitCode() == 0);
    EXPECT_FALSE(
        desktop.waitForWindow(QStringLiteral("Drukowanie naklejek z kodem kreskowym"), true)
            .isEmpty())
        << "Activate opens the window";

    waitUntil([&] { return sinceStart.elapsed() > 11000; }, 15000);
    running.terminate();
    ASSERT_TRUE(running.waitForFinished(10000));
    EXPECT_FALSE(running.readAllStandardError().contains("Pulpit nie ma obszaru powiadomień"))
        << "a notification area came within ten seconds";
    EXPECT_TRUE(nextLine(services, QStringLiteral("notify "), 500).isEmpty()) << "one notice";
}

} // namespace
