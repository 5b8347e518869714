#include "platform/desktop/stderrnotifier.h"

#include <cstdio>

void StderrNotifier::notify(const QString& text, bool)
{
    std::fprintf(stderr, "zelk_nal: %s\n", qUtf8Printable(text));
    std::fflush(stderr);
}
