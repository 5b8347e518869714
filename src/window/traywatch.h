#pragma once

#include "platform/traypresence.h"

#include <functional>
#include <QTimer>

// Waits for the desktop's notification area, which at login often comes seconds after the
// program: it looks once a second until one is there and then tells `appeared` which kind it
// is. When none has come ten seconds after the start it tells `missing`, once, and goes on
// looking.
class TrayWatch {
public:
    TrayWatch(const TrayPresence& presence, std::function<void(TrayPresence::Kind)> appeared,
              std::function<void()> missing);

    // One look: the owner looks at the start, the timer every second after it until a
    // notification area is found.
    void poll();

private:
    const TrayPresence& m_presence;
    std::function<void(TrayPresence::Kind)> m_appeared;
    std::function<void()> m_missing;
    QTimer m_timer;
    int m_polls = 0;
};
