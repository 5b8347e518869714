#pragma once

#include "platform/desktop/notifier.h"

#include <functional>

class QSystemTrayIcon;

// Notices shown as the tray icon's message, headed by `title`: a balloon by the icon in an
// XEmbed tray.
class TrayNotifier : public Notifier {
public:
    // `icon` gives the tray icon, none while the program has not made one.
    TrayNotifier(std::function<QSystemTrayIcon*()> icon, QString title)
        : m_icon(std::move(icon))
        , m_title(std::move(title))
    {
    }

    // The icon is in a notification area.
    bool reachable() const override;
    void notify(const QString& text, bool failed) override;

private:
    std::function<QSystemTrayIcon*()> m_icon;
    QString m_title;
};
