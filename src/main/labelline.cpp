#include "main/labelline.h"

namespace {

// Spaces and control characters: the ASCII blank and the C0 controls. Other blanks (no-break
// space, ideographic space) and other controls are part of the text.
bool isSpaceOrControl(QChar c)
{
    return c.unicode() <= u' ';
}

QString trimmedOfSpacesAndControls(QStringView text)
{
    while (!text.isEmpty() && isSpaceOrControl(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isSpaceOrControl(text.back()))
        text.chop(1);
    return text.toString();
}

} // namespace

LabelLine splitLabelLine(const QString& line)
{
    constexpr qsizetype maxCallNumber = 100;
    const qsizetype bar = line.indexOf(u'|');
    return {bar < 0 ? QString() : line.left(bar),
            trimmedOfSpacesAndControls(QStringView(line).mid(bar + 1, maxCallNumber))};
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
