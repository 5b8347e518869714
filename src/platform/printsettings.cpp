#include "platform/printsettings.h"

#include <QRegularExpression>

int resolutionFromText(const QString& text)
{
    static const QRegularExpression dpi(QStringLiteral(R"(^\s*(\d+)(?:x(\d+))?dpi)"));
    const auto match = dpi.match(text);
    if (!match.hasMatch())
        return 0;
    return (match.hasCaptured(2) ? match.captured(2) : match.captured(1)).toInt();
}
