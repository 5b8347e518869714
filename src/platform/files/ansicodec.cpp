#include "platform/files/ansicodec.h"

#include <array>
#include <iconv.h>
#include <QHash>

namespace {

// The code page as two tables, built once through iconv, so that converting a line is a
// table lookup per character.
struct CodePage {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    CodePage()
    {
        iconv_t converter = iconv_open("UTF-16LE", "WINDOWS-1250");
        for (int byte = 0; byte < 256; ++byte) {
            toUnicode[byte] = convert(converter, static_cast<char>(byte));
            if (toUnicode[byte] != QChar::ReplacementCharacter)
                fromUnicode.insert(toUnicode[byte], static_cast<char>(byte));
        }
        if (converter != iconv_t(-1))
            iconv_close(converter);
    }

    static char16_t convert(iconv_t converter, char byte)
    {
        if (converter == iconv_t(-1))
            return static_cast<unsigned char>(byte) < 0x80 ? char16_t(byte)
                                                           : char16_t(QChar::ReplacementCharacter);
        char input = byte;
        unsigned char output[4] = {};
        char* in = &input;
        char* out = reinterpret_cast<char*>(output);
        size_t inLeft = 1;
        size_t outLeft = sizeof output;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &in, &inLeft, &out, &outLeft) == size_t(-1) || outLeft != 2)
            return QChar::ReplacementCharacter;
        return char16_t(output[0] | (output[1] << 8));
    }
};

const CodePage& codePage()
{
    static const CodePage page;
    return page;
}

} // namespace

QString AnsiCodec::decode(QByteArrayView bytes)
{
    const CodePage& page = codePage();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes)
        *out++ = QChar(page.toUnicode[static_cast<unsigned char>(byte)]);
    return text;
}

QByteArray AnsiCodec::encode(QStringView text)
{
    const CodePage& page = codePage();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (QChar ch : text)
        *out++ = page.fromUnicode.value(ch.unicode(), '?');
    return bytes;
}
