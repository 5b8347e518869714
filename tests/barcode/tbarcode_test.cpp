#include "barcode/tbarcode.h"
#include "platform/apperror.h"

#include <gtest/gtest.h>
#include <ostream>
#include <QFile>
#include <QImage>
#include <QPainter>

namespace {

TBarcode barcode(const QString& text, int modul = 2, double ratio = 3.0)
{
    TBarcode code;
    code.setText(text);
    code.setModul(modul);
    code.setRatio(ratio);
    return code;
}

template <typename F> QString errorOf(F action)
{
    try {
        action();
    } catch (const AppError& error) {
        return error.text();
    }
    return {};
}

// One character per pixel of row y: '1' black, '0' white, '?' anything else.
QString rowOf(const QImage& image, int y)
{
    QString row;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y) & 0xffffff;
        row += pixel == 0 ? u'1' : pixel == 0xffffff ? u'0' : u'?';
    }
    return row;
}

TEST(TBarcode, EncodesPairsBetweenStartAndStop)
{
    const std::pair<QString, QString> cases[] = {
        {"", "5050605"},
        {"A", "5050605"}, // an odd last character is not even looked at
        {"12", "50506051505061605"},
        {"12345", "505060515050616060515051605"},
        {"1234A", "505060515050616060515051605"},
        {"A1", "Range check error"},
        {"1A", "Range check error"},
        {"123A", "Range check error"},
    };
    for (const auto& [text, pattern] : cases) {
        TBarcode code = barcode(text);
        QString result;
        const QString error = errorOf([&] { result = code.BuildPattern(); });
        EXPECT_EQ(error.isEmpty() ? result : error, pattern) << text.toStdString();
    }
}

TEST(TBarcode, ElementWidthsFollowModulAndClampedRatio)
{
    const struct {
        int modul;
        double ratio, storedRatio;
        std::array<int, 4> widths;
    } cases[] = {
        {2, 3.0, 3.0, {2, 6, 9, 12}},      {1, 2.5, 2.5, {1, 2, 3, 4}},
        {3, 2.5, 2.5, {3, 8, 12, 16}},     {21, 3.0, 3.0, {21, 63, 94, 126}},
        {31, 2.0, 2.0, {31, 62, 93, 124}}, {2, 1.0, 2.0, {2, 4, 6, 8}},
        {2, 5.0, 3.0, {2, 6, 9, 12}},      {2, std::nan(""), 2.0, {2, 4, 6, 8}},
    };
    for (const auto& c : cases) {
        TBarcode code = barcode("", c.modul, c.ratio);
        EXPECT_EQ(code.ComputeModules(), c.widths) << c.modul << " " << c.ratio;
        EXPECT_EQ(code.Ratio(), c.storedRatio);
    }
    // Twice wide must fit in a signed byte.
    for (const std::pair<int, double>& tooWide : {std::pair{22, 3.0}, {32, 2.0}, {128, 2.0}})
        EXPECT_EQ(errorOf([&] { barcode("12", tooWide.first, tooWide.second).Width(); }),
                  "Range check error");
}

TEST(TBarcode, WidthModulAndType)
{
    EXPECT_EQ(barcode("").Width(), 18);
    EXPECT_EQ(barcode("123456").Width(), 126);
    EXPECT_EQ(barcode("123456789012").Width(), 234);

    TBarcode code = barcode("12", 7);
    for (int ignored : {0, 500})
        code.setModul(ignored);
    EXPECT_EQ(code.Modul(), 7);

    code.setRatio(5.0);
    code.setTyp(static_cast<TBarcodeType>(1));
    EXPECT_EQ(errorOf([&] { code.Width(); }), "TBarcode: wrong BarcodeType");
    EXPECT_EQ(code.Ratio(), 5.0); // only the interleaved type clamps
}

// Symbols from an independent encoder, one character per narrow module.
TEST(TBarcode, BarsMatchAnIndependentEncoderModuleForModule)
{
    QFile file(QStringLiteral(ZELK_SOURCE_DIR "/tests/barcode/i2of5-modules.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int symbols = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        TBarcode code = barcode(fields[0], 1, 3.0);
        code.setHeight(1);
        QImage image(code.Width(), 1, QImage::Format_RGB32);
        QPainter painter(&image);
        code.DrawBarcode(painter);
        painter.end();
        EXPECT_EQ(rowOf(image, 0), fields[1]) << fields[0].toStdString();
        ++symbols;
    }
    EXPECT_EQ(symbols, 64);
}

class TBarcodeSurface : public ::testing::TestWithParam<QImage::Format> {};

TEST_P(TBarcodeSurface, PaintsExactRectanglesAndKeepsThePainterState)
{
    QImage image(80, 50, GetParam());
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(Qt::black); // so that a white space shows
    const QImage before = image;
    TBarcode code = barcode("12");
    code.setLeft(10);
    code.setTop(5);
    code.setHeight(40);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::red, 3));
    painter.setBrush(Qt::blue);
    code.DrawBarcode(painter);
    code.setText("1A");
    EXPECT_EQ(errorOf([&] { code.DrawBarcode(painter); }), "Range check error");
    EXPECT_EQ(painter.pen(), QPen(Qt::red, 3));
    EXPECT_EQ(painter.brush(), QBrush(Qt::blue));
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
    painter.end();

    // Twelve narrow elements of 2 pixels and five wide ones of 6, from column 10, rows 5 to 44.
    const QString symbol = "110011001111110011000000110011001111110000001111110011";
    const QString outside = rowOf(before, 0);
    for (int y = 0; y < image.height(); ++y) {
        const bool inSymbol = y >= 5 && y <= 44;
        EXPECT_EQ(rowOf(image, y), inSymbol ? outside.left(10) + symbol + outside.mid(64) : outside)
            << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Surfaces, TBarcodeSurface,
                         ::testing::Values(QImage::Format_RGB32, QImage::Format_Mono,
                                           QImage::Format_Grayscale8),
                         [](const ::testing::TestParamInfo<QImage::Format>& info) {
                             switch (info.param) {
                             case QImage::Format_RGB32:
                                 return "Rgb32";
                             case QImage::Format_Mono:
                                 return "Mono";
                             default:
                                 return "Grayscale8";
                             }
                         });

} // namespace
