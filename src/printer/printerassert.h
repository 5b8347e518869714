#pragma once

#include "platform/apperror.h"

// The invariant checks of the printer-settings module. A failed check is an error like any
// other; its text names the check, the module and the line. The line comes from
// __builtin_LINE(), which gcc and clang share; std::source_location is missing when clang 14
// builds against libstdc++ 12 (the fuzz build).
inline void printerAssert(bool condition, const char* text, int line = __builtin_LINE())
{
    if (!condition)
        throw AppError(QStringLiteral("%1 (morvalen_printers, line %2)")
                           .arg(QString::fromUtf8(text))
                           .arg(line));
}
