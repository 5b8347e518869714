#pragma once

#include <ostream>
#include <QString>

// GoogleTest shows QStrings (and the lists of them) as quoted text, not as bytes. Included in
// every test source by the build.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
