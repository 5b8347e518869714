#include "platform/desktop/traynotifier.h"

#include <QSystemTrayIcon>

bool TrayNotifier::reachable() const
{
    const QSystemTrayIcon* icon = m_icon();
    return icon && icon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayNotifier::notify(const QString& text, bool failed)
{
    m_icon()->showMessage(m_title, text,
                          failed ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information);
}
