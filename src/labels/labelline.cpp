#include "labels/labelline.h"

#include <algorithm>
#include <string_view>

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

namespace {

constexpr auto isControl = [](char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value < 0x20 || value == 0x7F;
};

// The bytes that Windows-1250 leaves undefined.
bool undefinedInAnsi(char byte)
{
    constexpr std::string_view undefined("\x81\x83\x88\x90\x98");
    return undefined.find(byte) != std::string_view::npos;
}

qsizetype characterCount(QByteArrayView line, QueueFile::Encoding encoding)
{
    if (encoding != QueueFile::Encoding::Utf8)
        return line.size();
    // UTF-8 continuation bytes do not start a character.
    return std::count_if(line.begin(), line.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    });
}

QString whyUndecodable(QByteArrayView line, QueueFile::Encoding encoding)
{
    if (encoding == QueueFile::Encoding::Utf8 && !line.isValidUtf8())
        return QStringLiteral("bajty niepoprawne w kodowaniu UTF-8");
    if (encoding == QueueFile::Encoding::Ansi &&
        std::any_of(line.begin(), line.end(), undefinedInAnsi))
        return QStringLiteral("bajty spoza kodowania Windows-1250");
    const auto first =
        std::find_if(line.begin(), line.end(), [](char byte) { return byte > ' ' || byte < 0; });
    const auto last = std::find_if(line.rbegin(), line.rend(), [](char byte) {
                          return byte > ' ' || byte < 0;
                      }).base();
    if (first < last && std::any_of(first, last, isControl))
        return QStringLiteral("znak sterujący wewnątrz wiersza");
    return {};
}

// Interleaved 2 of 5 encodes the digits in pairs: the last of an odd count would be left out of
// the bars, which would then read as another number.
QString whyOddDigits(QByteArrayView identifier)
{
    const QString digits = QString::fromLatin1(identifier).remove(u' ');
    return QStringLiteral("nieparzysta liczba cyfr identyfikatora (%1): kod kreskowy przeplatany "
                          "2 z 5 koduje cyfry parami - system biblioteczny powinien wysłać "
                          "parzystą liczbę cyfr, np. z zerem na początku (0%2)")
        .arg(digits.size())
        .arg(digits);
}

} // namespace

QString whyUnprintable(QByteArrayView line, QueueFile::Encoding encoding)
{
    constexpr qsizetype maxLine = 1000;
    constexpr qsizetype minDigits = 2;
    constexpr qsizetype maxDigits = 64;
    if (const QString why = whyUndecodable(line, encoding); !why.isEmpty())
        return why;
    if (characterCount(line, encoding) > maxLine)
        return QStringLiteral("wiersz ma więcej niż %1 znaków").arg(maxLine);
    const qsizetype bar = line.indexOf('|');
    if (bar < 0)
        return QStringLiteral("brak znaku „|” po identyfikatorze");
    const QByteArrayView identifier = line.first(bar);
    if (!std::all_of(identifier.begin(), identifier.end(),
                     [](char byte) { return byte == ' ' || (byte >= '0' && byte <= '9'); }))
        return QStringLiteral("identyfikator może składać się tylko z cyfr");
    const qsizetype digits =
        identifier.size() - std::count(identifier.begin(), identifier.end(), ' ');
    if (digits < minDigits || digits > maxDigits)
        return QStringLiteral("identyfikator musi mieć od %1 do %2 cyfr")
            .arg(minDigits)
            .arg(maxDigits);
    if (digits % 2 != 0)
        return whyOddDigits(identifier);
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
