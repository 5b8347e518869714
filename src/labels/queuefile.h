#pragma once

#include <QByteArray>
#include <QStringList>

// The text format shared by the buffer file and the saved-queue file: one label per line.
namespace QueueFile {

// Splits a file's bytes into lines. A line ends at LF, optionally preceded by CR; the last line
// needs no end. Lines are decoded as UTF-8 (malformed bytes become U+FFFD) or in the ANSI code
// page. A line made only of spaces and control characters is skipped; the others are kept as
// they are, untrimmed.
QStringList parse(QByteArrayView bytes, bool utf8);

// How a file's bytes are read by their content. Plain ASCII reads the same either way.
enum class Encoding { Ascii, Utf8, Ansi };

// The program's own saved-queue file, read by its content: UTF-8 when it starts with the UTF-8
// byte-order mark or is valid UTF-8, otherwise Windows-1250. So a change of the encoding
// setting never garbles the labels waiting in it.
QStringList parseByContent(QByteArrayView bytes);
Encoding encodingOf(QByteArrayView bytes);

// The file's bytes for `lines`: each line followed by CR LF, in the same encoding.
QByteArray serialize(const QStringList& lines, bool utf8);

} // namespace QueueFile
