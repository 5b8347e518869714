#pragma once

#include "labels/queuefile.h"

#include <QString>

// A queued line: the identifier, a "|" and the call number.
struct LabelLine {
    QString identifier; // empty without a "|"
    // At most 100 characters (the whole line without a "|"), less the spaces and control
    // characters at both ends.
    QString callNumber;
};

LabelLine splitLabelLine(const QString& line);

// Why a line of a file, its bytes in `encoding`, can never become a label that prints, or empty
// when it can: its bytes must be valid in the encoding, with no control character inside the
// line, its identifier must hold an even number of 2 to 64 digits (blanks aside, as the barcode
// ignores them), and
// the line at most 1000 characters. It works on the bytes, so that a million saved lines are
// checked in a blink.
QString whyUnprintable(QByteArrayView line, QueueFile::Encoding encoding);

// The identifier as the label shows it: each "9" of the pattern takes the next character of
// the identifier, every other pattern character stands for itself. An identifier that does
// not fill the pattern exactly gives a complaint instead.
QString formatIdentifier(const QString& pattern, const QString& identifier);
