#include "barcode/tbarcode.h"

#include "platform/apperror.h"
#include "platform/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <QPainter>
#include <QPainterPath>

namespace {

// The five element widths of each digit, "1" for a wide and "0" for a narrow element.
constexpr std::array<const char*, 10> digitWidths = {
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010",
};

const char* digitRow(QChar digit)
{
    if (digit < u'0' || digit > u'9')
        throw AppError(StandardErrors::rangeCheck());
    return digitWidths[digit.unicode() - u'0'];
}

bool fitsSignedByte(int value)
{
    return value >= std::numeric_limits<qint8>::min() && value <= std::numeric_limits<qint8>::max();
}

// Narrow, wide, one and a half times wide and twice wide.
std::array<int, 4> elementWidths(int modul, double ratio)
{
    const int wide = roundHalfEven(modul * ratio);
    return {modul, wide, wide * 3 / 2, wide * 2};
}

QString className()
{
    return QStringLiteral("TBarcode");
}

} // namespace

void TBarcode::setModul(int modul)
{
    if (modul >= 1 && modul <= 499)
        FModul = modul;
}

void TBarcode::clampRatio()
{
    if (FTyp == TBarcodeType::bcCode_2_5_interleaved) {
        if (std::isnan(FRatio) || FRatio < 2.0)
            FRatio = 2.0;
        if (FRatio > 3.0)
            FRatio = 3.0;
    }
}

std::array<int, 4> TBarcode::ComputeModules()
{
    clampRatio();
    const std::array<int, 4> widths = elementWidths(FModul, FRatio);
    // One by one: those before a width that does not fit keep their new values.
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (!fitsSignedByte(widths[i]))
            throw AppError(StandardErrors::rangeCheck());
        modules[i] = widths[i];
    }
    return modules;
}

int TBarcode::MaxModul()
{
    clampRatio();
    const auto fits = [this](int modul) {
        const std::array<int, 4> widths = elementWidths(modul, FRatio);
        return std::all_of(widths.begin(), widths.end(), fitsSignedByte);
    };
    int modul = 1;
    while (fits(modul + 1))
        ++modul;
    return modul;
}

QString TBarcode::BuildPattern()
{
    ComputeModules();
    if (FTyp != TBarcodeType::bcCode_2_5_interleaved)
        throw AppError(className() + QStringLiteral(": wrong BarcodeType"));
    return EncodeInterleaved();
}

QString TBarcode::EncodeInterleaved() const
{
    QString pattern = QStringLiteral("5050");
    // Pairs of digits: the first gives the bars, the second the spaces between them. An odd
    // last character is left out.
    for (qsizetype i = 0; i + 1 < FText.size(); i += 2) {
        const char* bars = digitRow(FText[i]);
        const char* spaces = digitRow(FText[i + 1]);
        for (int j = 0; j < 5; ++j) {
            pattern += bars[j] == '1' ? u'6' : u'5';
            pattern += spaces[j] == '1' ? u'1' : u'0';
        }
    }
    return pattern + QStringLiteral("605");
}

TBarcode::Element TBarcode::ElementOf(QChar patternChar) const
{
    const char16_t c = patternChar.unicode();
    if (c >= u'0' && c <= u'3')
        return {modules[c - u'0'], false};
    if (c >= u'5' && c <= u'8')
        return {modules[c - u'5'], true};
    throw AppError(className() + QStringLiteral(": internal Error"));
}

QList<TBarcode::Element> TBarcode::elements()
{
    QList<Element> result;
    for (QChar c : BuildPattern())
        result << ElementOf(c);
    return result;
}

int TBarcode::Width()
{
    int width = 0;
    for (const Element& element : elements())
        width += element.width;
    return width;
}

void TBarcode::DrawBarcode(QPainter& canvas)
{
    const QList<Element> symbol = elements();
    if (FHeight <= 0)
        return; // no rows to paint
    // The spaces are one white box under the symbol and the bars one path over it: a PDF then
    // holds one fill a symbol instead of one a bar or space.
    QPainterPath bars;
    int x = 0;
    for (const Element& element : symbol) {
        if (element.bar)
            bars.addRect(FLeft + x, FTop, element.width, FHeight);
        x += element.width;
    }
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.fillRect(FLeft, FTop, x, FHeight, Qt::white);
    canvas.fillPath(bars, Qt::black);
    canvas.restore();
}
