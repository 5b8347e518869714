#include "labels/queuefile.h"

#include <gtest/gtest.h>
#include <random>

namespace {

struct ParseCase {
    const char* name;
    QByteArray bytes;
    bool utf8;
    QStringList lines;
};

class QueueFileParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(QueueFileParse, GivesTheLinesThatAreNotBlank)
{
    const ParseCase& c = GetParam();
    EXPECT_EQ(QueueFile::parse(c.bytes, c.utf8), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QueueFileParse,
    ::testing::Values(
        ParseCase{"Empty", "", true, {}},
        ParseCase{"CrLfAndLf", "a|1\r\nb|2\nc|3\r\n", true, {"a|1", "b|2", "c|3"}},
        ParseCase{"LastLineWithoutEnd", "a|1\nb|2", true, {"a|1", "b|2"}},
        ParseCase{"BlankLinesSkipped",
                  QByteArrayLiteral("\r\n \t \n\x01\x1f\n\0\0\r\na\n \r\n"),
                  true,
                  {"a"}},
        ParseCase{"SpacesKept", "  123|AB 1  \r\n\tx\t\n", true, {"  123|AB 1  ", "\tx\t"}},
        ParseCase{"LoneCrEndsALine", "a|1\rb|2\rc|3\r\nd|4", true, {"a|1", "b|2", "c|3", "d|4"}},
        ParseCase{"CrAtTheEndEndsTheLine", "a\r", true, {"a"}},
        ParseCase{"NulInsideALineKept",
                  QByteArrayLiteral("a\0b\n"),
                  true,
                  {QString("a") + QChar(0) + "b"}},
        ParseCase{"Utf8", "1|Zażółć\n", true, {QString::fromUtf8("1|Zażółć")}},
        ParseCase{
            "AnsiReadAsUtf8GivesReplacements", "1|\xb9\n", true, {QString::fromUtf8("1|\uFFFD")}},
        ParseCase{"Ansi", "1|Za\xbf\xf3\xb3\xe6\n", false, {QString::fromUtf8("1|Zażółć")}},
        ParseCase{"Utf8ReadAsAnsiGivesTwoLettersEach",
                  "1|\xc4\x85\n",
                  false,
                  {QString::fromUtf8("1|Ä…")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QueueFile, SerializeEndsEveryLineWithCrLfInTheChosenEncoding)
{
    const QStringList lines{QString::fromUtf8(" 1|ą "), "2|B"};
    EXPECT_EQ(QueueFile::serialize(lines, true), QByteArray(" 1|\xc4\x85 \r\n2|B\r\n"));
    EXPECT_EQ(QueueFile::serialize(lines, false), QByteArray(" 1|\xb9 \r\n2|B\r\n"));
    EXPECT_EQ(QueueFile::serialize({}, true), QByteArray());
}

TEST(QueueFile, ThreeLinesComeBackInBothEncodings)
{
    const QStringList lines{QString::fromUtf8("000000000001|Łódź 1"), "  000000000002|B  ",
                            "000000000003|C"};
    for (bool utf8 : {true, false})
        EXPECT_EQ(QueueFile::parse(QueueFile::serialize(lines, utf8), utf8), lines);
}

// A byte-order mark makes even plain ASCII UTF-8.
TEST(QueueFile, EncodingOfBytesIsTheOneTheyAreReadIn)
{
    EXPECT_EQ(QueueFile::encodingOf("1|a\r\n"), QueueFile::Encoding::Ascii);
    EXPECT_EQ(QueueFile::encodingOf("\xEF\xBB\xBF"
                                    "1|a\r\n"),
              QueueFile::Encoding::Utf8);
    EXPECT_EQ(QueueFile::encodingOf("1|\xb9\r\n"), QueueFile::Encoding::Ansi);
}

TEST(QueueFile, GarbageAndHugeLinesAreHandled)
{
    std::mt19937 random(7);
    QByteArray garbage(1 << 20, Qt::Uninitialized);
    for (char& byte : garbage)
        byte = static_cast<char>(random());
    for (bool utf8 : {true, false}) {
        const QStringList lines = QueueFile::parse(garbage, utf8);
        EXPECT_GT(lines.size(), 0);
    }

    const QByteArray hugeLine = QByteArray(10 << 20, '7') + "\r\n";
    const QStringList lines = QueueFile::parse(hugeLine, true);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.first().size(), 10 << 20);
}

} // namespace
