#pragma once

#include "platform/desktop/traypresence.h"

// Asks the session bus for a StatusNotifierItem host (the watcher's
// IsStatusNotifierHostRegistered, what Qt's tray icon checks when it is made) and the X display
// for the owner of the system tray selection of its screen.
class DesktopTrayPresence : public TrayPresence {
public:
    Kind present() const override;
};
