#pragma once

#include <functional>
#include <QByteArray>
#include <QStringList>

// The text format shared by the buffer file and the saved-queue file: one label per line.
namespace QueueFile {

// How a file's bytes are read. Plain ASCII reads the same either way.
enum class Encoding { Ascii, Utf8, Ansi };

// Calls `visit` with the bytes (without their end) and the offset of every line of `bytes` that
// is not blank. A line ends at LF, CR LF or a lone CR; the last line needs no end. A line made
// only of spaces and control characters is blank.
void forEachLine(QByteArrayView bytes, const std::function<void(QByteArrayView, qsizetype)>& visit);

// The line that starts at `start`, without its end.
QByteArrayView lineAt(QByteArrayView bytes, qsizetype start);

QString decode(QByteArrayView line, Encoding encoding);

// Splits a file's bytes into lines that are not blank, decoded as UTF-8 (malformed bytes become
// U+FFFD) or in the ANSI code page, untrimmed.
QStringList parse(QByteArrayView bytes, bool utf8);

// How the program's own saved-queue file is read, by its content: UTF-8 when it starts with the
// UTF-8 byte-order mark or is valid UTF-8, otherwise Windows-1250. So a change of the encoding
// setting never garbles the labels waiting in it.
Encoding encodingOf(QByteArrayView bytes);
// The length of the UTF-8 byte-order mark that `bytes` starts with: 3 or 0.
qsizetype bomLength(QByteArrayView bytes);

// The file's bytes for `lines`: each line followed by CR LF, in the same encoding.
QByteArray serialize(const QStringList& lines, bool utf8);

} // namespace QueueFile
