#pragma once

#include <optional>
#include <QString>

// Whole numbers written as text in the settings: decimal with an optional sign, or hexadecimal
// when the text is longer than two characters and begins with "0x" or "0X". A number that does
// not fit in 32 bits is not a number.
std::optional<int> parseInteger(QStringView text);

// The platform's text-to-number conversion: text that is not a whole number raises the
// conversion error "'text' is not a valid integer value".
int toInteger(const QString& text);
