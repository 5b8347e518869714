#include "labels/labelline.h"

#include <algorithm>

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

QString whyUnprintable(const QString& line)
{
    constexpr qsizetype maxLine = 1000;
    constexpr qsizetype minDigits = 2;
    constexpr qsizetype maxDigits = 64;
    if (line.size() > maxLine)
        return QStringLiteral("wiersz ma więcej niż %1 znaków").arg(maxLine);
    if (!line.contains(u'|'))
        return QStringLiteral("brak znaku „|” po identyfikatorze");
    const QString digits = splitLabelLine(line).identifier.remove(u' ');
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (!std::all_of(digits.begin(), digits.end(), isDigit))
        return QStringLiteral("identyfikator może składać się tylko z cyfr");
    if (digits.size() < minDigits || digits.size() > maxDigits)
        return QStringLiteral("identyfikator musi mieć od %1 do %2 cyfr")
            .arg(minDigits)
            .arg(maxDigits);
    return {};
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
