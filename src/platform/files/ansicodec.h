#pragma once

#include <QByteArray>
#include <QString>

// The "ANSI code page" of this program's Windows installations: Windows-1250 (Central
// European). Bytes that do not map become U+FFFD on reading; characters that do not map
// become '?' on writing.
namespace AnsiCodec {
QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);
} // namespace AnsiCodec
