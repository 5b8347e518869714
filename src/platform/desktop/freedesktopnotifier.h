#pragma once

#include "platform/desktop/notifier.h"

// Notices through the desktop's notification service (org.freedesktop.Notifications on the
// session bus: Plasma, GNOME, dunst, xfce4-notifyd …), which shows them its own way and keeps
// them in its history. Each is headed by `summary`, with the program's icon.
class FreedesktopNotifier : public Notifier {
public:
    explicit FreedesktopNotifier(QString summary)
        : m_summary(std::move(summary))
    {
    }

    // The service runs, or the bus starts it on the first notice.
    bool reachable() const override;
    void notify(const QString& text, bool failed) override;

private:
    QString m_summary;
};
