#pragma once

class Dialogs;
class Notifier;
class PrinterBackend;
class PrinterSetupDialog;
class TrayPresence;

// The platform services the label printer and its window work through. The program passes
// the real ones; tests pass doubles.
struct Services {
    Dialogs* dialogs = nullptr;
    // The desktop's notification area, followed as it comes; none: one is there from the start.
    const TrayPresence* trays = nullptr;
    PrinterBackend* printers = nullptr; // none: no printer is installed
    PrinterSetupDialog* printerSetup = nullptr;
    // None: the window sends notices to the desktop's notification service, else to its tray
    // icon, else to standard error.
    Notifier* notifier = nullptr;
};
