#include "virtualdesktop.h"

#include "platform/desktop/windowtitles.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

bool waitUntil(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(50);
    }
    return true;
}

VirtualDesktop::VirtualDesktop(bool withTray)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return;
    if (startServer() && withTray)
        startTray();
}

VirtualDesktop::~VirtualDesktop()
{
    for (auto* process : {m_tray.get(), m_xserver.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(3000);
        }
    }
}

// Xvfb chooses a free display itself and writes its number to standard output.
bool VirtualDesktop::startServer()
{
    auto server = std::make_unique<QProcess>();
    server->setProcessChannelMode(QProcess::SeparateChannels);
    server->setStandardErrorFile(QProcess::nullDevice());
    server->start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
    if (!server->waitForStarted())
        return false;
    QByteArray number;
    while (!number.endsWith('\n') && server->waitForReadyRead(10000))
        number += server->readAllStandardOutput();
    if (number.trimmed().isEmpty()) {
        server->kill();
        server->waitForFinished();
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    m_xserver = std::move(server);
    return true;
}

void VirtualDesktop::startTray()
{
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty())
        return;
    m_tray = std::make_unique<QProcess>();
    m_tray->setProcessEnvironment(environment());
    m_tray->start(QStringLiteral("trayer"),
                  {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                   QStringLiteral("right"), QStringLiteral("--widthtype"),
                   QStringLiteral("request"), QStringLiteral("--height"), QStringLiteral("24")});
    waitUntil([this] { return !xdotool({"search", "--class", "trayer"}).isEmpty(); }, 5000);
}

QProcessEnvironment VirtualDesktop::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), m_runtime.path());
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

QString VirtualDesktop::xdotool(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString VirtualDesktop::waitForWindow(const QString& title, bool onlyVisible, int ms) const
{
    QStringList arguments{QStringLiteral("search")};
    if (onlyVisible)
        arguments << QStringLiteral("--onlyvisible");
    arguments << QStringLiteral("--name")
              << QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    // xdotool matches the Latin-1 name; the title a desktop shows is the UTF-8 one, read here.
    const auto titles = makeX11WindowTitles(m_display.toUtf8());
    QString found;
    waitUntil(
        [&] {
            found = titles->topLevelTitles().contains(title) ? xdotool(arguments) : QString();
            return !found.isEmpty();
        },
        ms);
    return found.section(QLatin1Char('\n'), 0, 0);
}
