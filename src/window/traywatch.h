#pragma once

#include "platform/desktop/dialogs.h"
#include "platform/desktop/traypresence.h"

#include <functional>
#include <QTimer>

// Waits for the desktop's notification area, which at login often comes seconds after the
// program: it looks once a second until one is there and then tells `appeared` which kind it
// is. When none has come ten seconds after the start it says so, once, in a notice that stays
// open while it holds: the notice is withdrawn when the area comes and the icon is in it.
class TrayWatch {
public:
    TrayWatch(const TrayPresence& presence, Dialogs& dialogs,
              std::function<void(TrayPresence::Kind)> appeared);

    // One look: the owner looks at the start, the timer every second after it until a
    // notification area is found.
    void poll();

private:
    void reportMissing();

    const TrayPresence& m_presence;
    Dialogs& m_dialogs;
    std::function<void(TrayPresence::Kind)> m_appeared;
    QTimer m_timer;
    int m_polls = 0;
};
