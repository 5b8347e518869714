#include "platform/traynotifier.h"

#include <QGuiApplication>
#include <QSystemTrayIcon>

void TrayNotifier::notify(const QString& text, bool failed)
{
    m_icon.showMessage(QGuiApplication::applicationDisplayName(), text,
                       failed ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information);
}
