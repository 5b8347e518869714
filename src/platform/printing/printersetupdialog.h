#pragma once

#include "platform/printing/printerbackend.h"

#include <optional>

// What the user chose in the printer-setup dialog.
struct PrinterSetupChoice {
    QString printer; // list name
    QByteArray settings;
};

// The printer-setup dialog: printer choice and the printer's properties.
class PrinterSetupDialog {
public:
    virtual ~PrinterSetupDialog() = default;
    // Opens on `printer` (a list name of `printers`) with a copy of its settings block. Returns
    // the chosen printer and the settings edited for it, or nothing when cancelled.
    virtual std::optional<PrinterSetupChoice> exec(const QList<PrinterInfo>& printers,
                                                   const QString& printer,
                                                   const QByteArray& settings) = 0;
};
