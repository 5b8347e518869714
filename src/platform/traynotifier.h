#pragma once

#include "platform/notifier.h"

#include <QString>
#include <utility>

class QSystemTrayIcon;

// Notices shown as the tray icon's message, which goes to the desktop's notification service
// where there is one, headed by `title`.
class TrayNotifier : public Notifier {
public:
    TrayNotifier(QSystemTrayIcon& icon, QString title)
        : m_icon(icon)
        , m_title(std::move(title))
    {
    }

    void notify(const QString& text, bool failed) override;

private:
    QSystemTrayIcon& m_icon;
    QString m_title;
};
