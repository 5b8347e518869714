#pragma once

#include <QString>

// Texts the program shows in more than one place.
namespace Texts {
inline QString appTitle()
{
    return QStringLiteral("Drukowanie kodów kreskowych");
}
inline QString messageCaption()
{
    return QStringLiteral("Zelk - drukowanie kodów kreskowych");
}
inline QString windowCaption()
{
    return QStringLiteral("Drukowanie naklejek z kodem kreskowym");
}
} // namespace Texts
