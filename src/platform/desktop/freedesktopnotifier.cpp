#include "platform/desktop/freedesktopnotifier.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// The name of the program's icon and desktop entry, as installed.
const QString kIconName = QStringLiteral("zelk_nal");

// The notification's urgency: 1 normal, 2 critical.
uchar urgency(bool failed)
{
    return failed ? 2 : 1;
}

} // namespace

bool FreedesktopNotifier::reachable() const
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QDBusConnectionInterface* daemon = bus.interface();
    return daemon->isServiceRegistered(kService).value() ||
           daemon->activatableServiceNames().value().contains(kService);
}

void FreedesktopNotifier::notify(const QString& text, bool failed)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(urgency(failed))},
                            {QStringLiteral("desktop-entry"), kIconName}};
    call << QCoreApplication::applicationName() << 0u << kIconName << m_summary << text
         << QStringList() << hints << -1;
    // Nothing waits for the answer: the notice is the service's from here on.
    QDBusConnection::sessionBus().send(call);
}
