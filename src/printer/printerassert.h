#pragma once

#include "platform/apperror.h"

#include <source_location>

// The invariant checks of the printer-settings module. A failed check is an error like any
// other; its text names the check, the module and the line.
inline void printerAssert(bool condition, const char* text,
                          std::source_location where = std::source_location::current())
{
    if (!condition)
        throw AppError(QStringLiteral("%1 (morvalen_printers, line %2)")
                           .arg(QString::fromUtf8(text))
                           .arg(where.line()));
}
