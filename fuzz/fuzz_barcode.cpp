// The barcode encoder: text, module width and ratio from the input, then the width query and
// the painting on a small image. The painted symbol must be as wide as Width() says.
#include "barcode/tbarcode.h"
#include "fuzzsupport.h"
#include "platform/apperror.h"

#include <cstring>
#include <QImage>
#include <QPainter>

namespace {

struct Input {
    int modul = 1;
    double ratio = 2.0;
    QString text;
};

// The first four bytes give the module width, the next eight the ratio; the rest is the text
// in UTF-8.
Input inputOf(const QByteArray& bytes)
{
    Input input;
    if (bytes.size() >= 4)
        std::memcpy(&input.modul, bytes.constData(), 4);
    if (bytes.size() >= 12)
        std::memcpy(&input.ratio, bytes.constData() + 4, 8);
    input.text = QString::fromUtf8(bytes.mid(12));
    return input;
}

// The columns of the image's first row that are not white.
int paintedEnd(const QImage& image)
{
    for (int x = image.width() - 1; x >= 0; --x)
        if (image.pixel(x, 0) != qRgb(255, 255, 255))
            return x + 1;
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Input input = inputOf(Fuzz::bytesOf(data, size));
    TBarcode barcode;
    barcode.setModul(input.modul);
    barcode.setRatio(input.ratio);
    barcode.setText(input.text);
    barcode.setHeight(4);
    barcode.setLeft(2);
    int width = 0;
    try {
        width = barcode.Width();
    } catch (const AppError&) {
        return 0; // not digits, or elements too wide: the label shows the error instead
    }
    if (barcode.Ratio() < 2.0 || barcode.Ratio() > 3.0)
        Fuzz::fail("the ratio is not clamped");

    QImage image(qMin(width + 4, 4096), 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    barcode.DrawBarcode(painter);
    painter.end();
    // The symbol ends with a narrow bar, so its last painted column is its width.
    if (width + 4 <= image.width() && paintedEnd(image) != 2 + width)
        Fuzz::fail("the painted symbol is not as wide as Width() says");
    return 0;
}
