#include "platform/apperror.h"
#include "platform/integertext.h"

#include <gtest/gtest.h>

namespace {

struct IntegerCase {
    const char16_t* text;
    std::optional<int> value;
};

class ParseInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ParseInteger, ReadsWholeNumbersAndRejectsTheRest)
{
    EXPECT_EQ(parseInteger(GetParam().text), GetParam().value)
        << QStringView(GetParam().text).toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseInteger,
    ::testing::Values(IntegerCase{u"12", 12}, IntegerCase{u"-7", -7}, IntegerCase{u"+7", 7},
                      IntegerCase{u"007", 7}, IntegerCase{u"0x1F", 31}, IntegerCase{u"0X1f", 31},
                      IntegerCase{u"0x7FFFFFFF", 2147483647},
                      IntegerCase{u"2147483647", 2147483647},
                      IntegerCase{u"-2147483648", -2147483647 - 1},
                      // Not numbers, or not 32-bit ones.
                      IntegerCase{u"", std::nullopt}, IntegerCase{u"0x", std::nullopt},
                      IntegerCase{u"0x-5", std::nullopt}, IntegerCase{u"0xG", std::nullopt},
                      IntegerCase{u"+-5", std::nullopt}, IntegerCase{u"-", std::nullopt},
                      IntegerCase{u"12abc", std::nullopt}, IntegerCase{u"1 2", std::nullopt},
                      IntegerCase{u"yes", std::nullopt}, IntegerCase{u"\u0663", std::nullopt},
                      IntegerCase{u"2147483648", std::nullopt},
                      IntegerCase{u"0x80000000", std::nullopt},
                      IntegerCase{u"1099511627776", std::nullopt},
                      IntegerCase{u"99999999999999999999999", std::nullopt}),
    // The text itself, spelled with letters and digits only: "Minus7", "0x1F", "1Space2".
    [](const ::testing::TestParamInfo<IntegerCase>& info) {
        std::string name;
        for (const QChar c : QStringView(info.param.text)) {
            if (c == u'-')
                name += "Minus";
            else if (c == u'+')
                name += "Plus";
            else if (c == u' ')
                name += "Space";
            else if (c.isLetterOrNumber() && c.unicode() < 0x80)
                name += char(c.unicode());
            else
                name += "U" + std::to_string(c.unicode());
        }
        return name.empty() ? std::string("Empty") : name;
    });

TEST(ToInteger, RaisesTheConversionErrorWithTheText)
{
    EXPECT_EQ(toInteger(QStringLiteral("0xEE")), 238);
    for (const QString& text :
         {QStringLiteral("1099511627776"), QString(), QStringLiteral("12pt")}) {
        try {
            toInteger(text);
            ADD_FAILURE() << "no error for " << text.toStdString();
        } catch (const AppError& error) {
            EXPECT_EQ(error.text(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
}

} // namespace
