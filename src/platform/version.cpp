#include "platform/version.h"

#include "version_numbers.h"

#include <QStringList>

std::array<int, 4> programVersionNumbers()
{
    return {ZELK_VERSION_MAJOR, ZELK_VERSION_MINOR, ZELK_VERSION_PATCH, ZELK_VERSION_TWEAK + 0};
}

QString programVersionText()
{
    QStringList parts;
    for (int number : programVersionNumbers())
        parts << QString::number(number);
    return parts.join(QLatin1Char('.'));
}
