#pragma once

#include "labels/queuedlines.h"

#include <ostream>
#include <QString>

// GoogleTest shows QStrings (and the lists of them, and the queue) as quoted text, not as bytes.
// Included in every test source by the build.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QueuedLines& lines, std::ostream* out)
{
    *out << '{';
    for (qsizetype i = 0; i < lines.size(); ++i)
        *out << (i == 0 ? " \"" : ", \"") << lines.at(i).toStdString() << '"';
    *out << " }";
}
