#include "platform/integertext.h"

#include "platform/apperror.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace {

bool allDigits(std::string_view text, int base)
{
    const auto isDigit = [base](unsigned char ch) {
        return base == 16 ? std::isxdigit(ch) != 0 : std::isdigit(ch) != 0;
    };
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// Parses the whole of `text`, sign included, and fails on overflow.
std::optional<int> parseWhole(std::string_view text, int base)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int> parseInteger(QStringView text)
{
    // Characters outside Latin-1 become '?', which no number contains.
    const QByteArray latin1 = text.toLatin1();
    std::string_view number(latin1.constData(), latin1.size());
    if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X')) {
        number.remove_prefix(2);
        return allDigits(number, 16) ? parseWhole(number, 16) : std::nullopt;
    }
    const bool negative = number.starts_with('-');
    const std::string_view digits = negative || number.starts_with('+') ? number.substr(1) : number;
    if (!allDigits(digits, 10))
        return std::nullopt;
    return parseWhole(negative ? number : digits, 10);
}

int toInteger(const QString& text)
{
    if (const std::optional<int> value = parseInteger(text))
        return *value;
    throw AppError(StandardErrors::notAnInteger(text));
}
