#include "labels/queuefile.h"

#include "platform/files/ansicodec.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");

constexpr auto isLineEnd = [](char byte) { return byte == '\n' || byte == '\r'; };

// Spaces and control characters are the code points up to U+0020. In both encodings every
// byte above 0x20 decodes to a character above U+0020, so the bytes decide.
bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) <= ' '; });
}

// Eight bytes at a time: a saved queue of a million lines is 27 MB.
bool isAscii(QByteArrayView bytes)
{
    quint64 seen = 0;
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        seen |= word;
    }
    for (; i < bytes.size(); ++i)
        seen |= static_cast<unsigned char>(bytes[i]);
    return (seen & 0x8080808080808080ULL) == 0;
}

} // namespace

void QueueFile::forEachLine(QByteArrayView bytes,
                            const std::function<void(QByteArrayView, qsizetype)>& visit)
{
    const char* const begin = bytes.begin();
    const char* next = begin;
    while (next < bytes.end()) {
        const char* end = std::find_if(next, bytes.end(), isLineEnd);
        const QByteArrayView line(next, end);
        if (!isBlank(line))
            visit(line, next - begin);
        if (end < bytes.end() && *end == '\r' && end + 1 < bytes.end() && end[1] == '\n')
            ++end;
        next = end < bytes.end() ? end + 1 : end;
    }
}

QByteArrayView QueueFile::lineAt(QByteArrayView bytes, qsizetype start)
{
    const QByteArrayView rest = bytes.sliced(start);
    return rest.first(std::find_if(rest.begin(), rest.end(), isLineEnd) - rest.begin());
}

QString QueueFile::decode(QByteArrayView line, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Ascii:
        return QString::fromLatin1(line);
    case Encoding::Utf8:
        return QString::fromUtf8(line);
    case Encoding::Ansi:
        break;
    }
    return AnsiCodec::decode(line);
}

QStringList QueueFile::parse(QByteArrayView bytes, bool utf8)
{
    QStringList lines;
    // A saved queue may hold a million lines: the list is made once, not grown in steps.
    lines.reserve(std::count(bytes.begin(), bytes.end(), '\n') + 1);
    const Encoding encoding = utf8 ? Encoding::Utf8 : Encoding::Ansi;
    forEachLine(bytes, [&](QByteArrayView line, qsizetype) { lines << decode(line, encoding); });
    return lines;
}

QueueFile::Encoding QueueFile::encodingOf(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return Encoding::Ascii;
    return bytes.startsWith(utf8Bom) || bytes.isValidUtf8() ? Encoding::Utf8 : Encoding::Ansi;
}

qsizetype QueueFile::bomLength(QByteArrayView bytes)
{
    return bytes.startsWith(utf8Bom) ? utf8Bom.size() : 0;
}

QByteArray QueueFile::serialize(const QStringList& lines, bool utf8)
{
    if (lines.isEmpty())
        return {};
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return utf8 ? text.toUtf8() : AnsiCodec::encode(text);
}
