#pragma once

#include <QStringList>

// Queue lines "000000000001|II 1" … for the numbers first..last, in order.
inline QStringList numberedLines(int first, int last)
{
    QStringList lines;
    for (int n = first; n <= last; ++n)
        lines << QStringLiteral("%1|II %2").arg(n, 12, 10, QLatin1Char('0')).arg(n);
    return lines;
}
