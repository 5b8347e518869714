#include "virtualdesktop.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A private session bus, as a desktop session has one.
class SessionBus {
public:
    SessionBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        while (!m_address.endsWith('\n') && m_daemon.waitForReadyRead(5000))
            m_address += m_daemon.readAllStandardOutput();
    }
    ~SessionBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QString address() const { return QString::fromUtf8(m_address.trimmed()); }

private:
    QProcess m_daemon;
    QByteArray m_address;
};

// The next line of `process` that starts with `prefix`, without it; empty after `ms`.
QString nextLine(QProcess& process, const QString& prefix, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
        process.waitForReadyRead(200);
    }
    return {};
}

// The session's services come after the program, as they do at login: a StatusNotifierItem host
// (there is no XEmbed tray) and a notification service, both stand-ins on a private bus.
TEST(ProgramInADesktopSession, UsesTheTrayAndTheNotificationServiceThatComeLater)
{
    VirtualDesktop desktop(false);
    SessionBus bus;
    if (!desktop.available() || bus.address().isEmpty())
        GTEST_SKIP() << "Xvfb and dbus-daemon are needed";
    QProcessEnvironment environment = desktop.environment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("zelk_nal"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELK_PROGRAM), program));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("temp")));
    QFile settings(folder.filePath(QStringLiteral("zelk_nal.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[DRUKARKA]\nnazwa=Plik PDF\n[Sposób Wydruku]\nBez Wyświetlania=1\n");
    settings.close();

    QProcess running;
    running.setProcessEnvironment(environment);
    running.start(program);
    QElapsedTimer sinceStart;
    sinceStart.start();
    ASSERT_FALSE(
        desktop.waitForWindow(QStringLiteral("Drukowanie kodów kreskowych"), false).isEmpty());
    QProcess services;
    services.setProcessEnvironment(environment);
    // The Python of the system, the one python3-dbus is for.
    services.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(ZELK_SOURCE_DIR "/tests/support/desktopservices.py")});
    const QString item = nextLine(services, QStringLiteral("item "), 15000);
    ASSERT_FALSE(item.isEmpty()) << "the icon joins the host that came later";

    QFile buffer(folder.filePath(QStringLiteral("temp/naklejka.dat")));
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    for (int i = 0; i < 24; ++i)
        buffer.write(
            QStringLiteral("1000000000%1|II %1\n").arg(i, 2, 10, QLatin1Char('0')).toUtf8());
    buffer.close();
    EXPECT_TRUE(nextLine(services, QStringLiteral("notify "), 15000)
                    .startsWith(QStringLiteral(
                        "Drukowanie kodów kreskowych|Zapisano 24 naklejki w folderze ")));

    QProcess activate;
    activate.setProcessEnvironment(environment);
    activate.start(QStringLiteral("dbus-send"),
                   {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                    QStringLiteral("--dest=") + item, QStringLiteral("/StatusNotifierItem"),
                    QStringLiteral("org.kde.StatusNotifierItem.Activate"),
                    QStringLiteral("int32:0"), QStringLiteral("int32:0")});
    ASSERT_TRUE(activate.waitForFinished(10000));
    EXPECT_EQ(activate.exitCode(), 0) << activate.readAllStandardError().toStdString();
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
    services.kill();
    services.waitForFinished();
}

} // namespace
