#include "main/labelline.h"

LabelLine splitLabelLine(const QString& line)
{
    constexpr qsizetype maxCallNumber = 100;
    const qsizetype bar = line.indexOf(u'|');
    return {bar < 0 ? QString() : line.left(bar), line.mid(bar + 1, maxCallNumber).trimmed()};
}

QString formatIdentifier(const QString& pattern, const QString& identifier)
{
    QString text;
    qsizetype next = 0;
    for (QChar c : pattern) {
        if (c != u'9') {
            text += c;
            continue;
        }
        if (next >= identifier.size())
            return QStringLiteral("za mało cyfr!");
        text += identifier[next++];
    }
    if (next < identifier.size())
        return QStringLiteral("za dużo cyfr!");
    return text;
}
