#include "platform/desktop/displayprobe.h"

#include <algorithm>
#include <cstring>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QStringList>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// The platforms Qt tries, in its order, by name without their options.
QStringList platformsQtTries()
{
    const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
    QStringList names = chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& name : names)
        name = name.section(QLatin1Char(':'), 0, 0);
    if (!names.isEmpty())
        return names;
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return {QStringLiteral("wayland"), QStringLiteral("xcb")};
    return {QStringLiteral("xcb")};
}

bool xServerAnswers()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

bool waylandPluginInstalled()
{
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty();
}

// The compositor's socket accepts a connection.
bool waylandCompositorAnswers()
{
    QString socketPath = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    if (!socketPath.startsWith(QLatin1Char('/')))
        socketPath = qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + socketPath;
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool answers =
        fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return answers;
}

bool platformOpens(const QString& name)
{
    if (name == QLatin1String("xcb"))
        return xServerAnswers();
    if (name.startsWith(QLatin1String("wayland")))
        return waylandPluginInstalled() && waylandCompositorAnswers();
    return true;
}

} // namespace

bool displayReachable()
{
    const QStringList platforms = platformsQtTries();
    return std::any_of(platforms.begin(), platforms.end(), platformOpens);
}

QString displayVariables()
{
    return QStringLiteral("DISPLAY=\"%1\", WAYLAND_DISPLAY=\"%2\"")
        .arg(qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"));
}
