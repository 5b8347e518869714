#pragma once

#include "platform/notifier.h"

class QSystemTrayIcon;

// Notices shown as the tray icon's message, which goes to the desktop's notification service
// where there is one, headed by the application's display name.
class TrayNotifier : public Notifier {
public:
    explicit TrayNotifier(QSystemTrayIcon& icon)
        : m_icon(icon)
    {
    }

    void notify(const QString& text, bool failed) override;

private:
    QSystemTrayIcon& m_icon;
};
