#pragma once

class Dialogs;

// The platform services the main window works through. The program passes the real ones;
// tests pass doubles.
struct Services {
    Dialogs* dialogs = nullptr;
    bool trayAvailable = true; // the desktop has a notification area
};
