#include "labels/queuefile.h"

#include "platform/ansicodec.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");

// Spaces and control characters are the code points up to U+0020. In both encodings every
// byte above 0x20 decodes to a character above U+0020, so the bytes decide.
bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) <= ' '; });
}

QString decode(QByteArrayView line, bool utf8)
{
    return utf8 ? QString::fromUtf8(line) : AnsiCodec::decode(line);
}

} // namespace

QStringList QueueFile::parse(QByteArrayView bytes, bool utf8)
{
    QStringList lines;
    // A saved queue may hold a million lines: the list is made once, not grown in steps.
    lines.reserve(std::count(bytes.begin(), bytes.end(), '\n') + 1);
    const char* next = bytes.data();
    const char* const end = next + bytes.size();
    while (next < end) {
        const auto* lineFeed = static_cast<const char*>(std::memchr(next, '\n', end - next));
        const char* lineEnd = lineFeed ? lineFeed : end;
        QByteArrayView line(next, lineEnd);
        if (lineFeed && line.endsWith('\r'))
            line.chop(1);
        if (!isBlank(line))
            lines << decode(line, utf8);
        next = lineFeed ? lineFeed + 1 : end;
    }
    return lines;
}

QStringList QueueFile::parseByContent(QByteArrayView bytes)
{
    if (bytes.startsWith(utf8Bom))
        return parse(bytes.sliced(utf8Bom.size()), true);
    return parse(bytes, encodingOf(bytes) != Encoding::Ansi);
}

QueueFile::Encoding QueueFile::encodingOf(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char byte) { return static_cast<unsigned char>(byte) < 0x80; }))
        return Encoding::Ascii;
    return bytes.startsWith(utf8Bom) || bytes.isValidUtf8() ? Encoding::Utf8 : Encoding::Ansi;
}

QByteArray QueueFile::serialize(const QStringList& lines, bool utf8)
{
    if (lines.isEmpty())
        return {};
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return utf8 ? text.toUtf8() : AnsiCodec::encode(text);
}
