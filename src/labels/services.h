#pragma once

class Dialogs;
class Notifier;
class PrinterBackend;
class PrinterSetupDialog;

// The platform services the label printer and its window work through. The program passes
// the real ones; tests pass doubles.
struct Services {
    Dialogs* dialogs = nullptr;
    bool trayAvailable = true;          // the desktop has a notification area
    PrinterBackend* printers = nullptr; // none: no printer is installed
    PrinterSetupDialog* printerSetup = nullptr;
    // None: the window shows notices on its tray icon, or on standard error where the desktop
    // has no notification area.
    Notifier* notifier = nullptr;
};
