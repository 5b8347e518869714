#include "labels/queuefile.h"

#include "platform/ansicodec.h"

#include <algorithm>
#include <cstring>
#include <QStringDecoder>

namespace {

// Spaces and control characters are the code points up to U+0020. In both encodings every
// byte above 0x20 decodes to a character above U+0020, so the bytes decide.
bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) <= ' '; });
}

// Whether the bytes are valid UTF-8, checked piece by piece so that a large file is never held
// decoded in memory as a whole.
bool isUtf8(QByteArrayView bytes)
{
    constexpr qsizetype piece = 64 * 1024;
    QStringDecoder utf8(QStringDecoder::Utf8);
    for (qsizetype at = 0; at < bytes.size() && !utf8.hasError(); at += piece)
        [[maybe_unused]] const QString decoded =
            utf8(bytes.sliced(at, qMin(piece, bytes.size() - at)));
    return !utf8.hasError();
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
    constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(utf8Bom))
        return parse(bytes.sliced(utf8Bom.size()), true);
    return parse(bytes, isUtf8(bytes));
}

QByteArray QueueFile::serialize(const QStringList& lines, bool utf8)
{
    if (lines.isEmpty())
        return {};
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return utf8 ? text.toUtf8() : AnsiCodec::encode(text);
}
