#pragma once

#include "platform/printing/printsettings.h"

class QPrinter;

// Moving settings between a QPrinter (as Qt's print dialog edits it) and a settings block. The
// device name is left to the caller: it is the printer's name in our list.
PrintSettings printSettingsOf(QPrinter& printer);
void applyPrintSettings(const PrintSettings& settings, QPrinter& printer);
