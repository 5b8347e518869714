#include "platform/traynotifier.h"

#include <QSystemTrayIcon>

void TrayNotifier::notify(const QString& text, bool failed)
{
    m_icon.showMessage(m_title, text,
                       failed ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information);
}
