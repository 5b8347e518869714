#include "platform/desktop/desktoptraypresence.h"

#include <cstdlib>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <xcb/xcb.h>

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int kBusTimeoutMs = 1000;

bool statusNotifierHost()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcher).value())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, kBusTimeoutMs);
    return reply.isValid() && reply.value().variant().toBool();
}

// The screen of DISPLAY (":0.1" is screen 1), the one Qt's connection uses.
QByteArray screenNumber()
{
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype dot = display.lastIndexOf('.');
    return dot > display.lastIndexOf(':') ? display.mid(dot + 1) : QByteArray("0");
}

bool xembedTray()
{
    // Qt's offscreen platform answers for X11 too, without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const QByteArray selection = "_NET_SYSTEM_TRAY_S" + screenNumber();
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, uint16_t(selection.size()), selection.constData()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t name = atom->atom;
    std::free(atom);
    if (name == XCB_ATOM_NONE)
        return false; // nobody ever asked for the selection
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, name), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
}

} // namespace

TrayPresence::Kind DesktopTrayPresence::present() const
{
    if (statusNotifierHost())
        return Kind::StatusNotifier;
    return xembedTray() ? Kind::XEmbed : Kind::None;
}
