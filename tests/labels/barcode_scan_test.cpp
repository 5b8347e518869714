// Printed barcodes of every identifier length scan with two independent readers, ZXing and zbar,
// at the resolutions of common printers, with the default frame around the label.
#include "printingfixture.h"

#include <QPainter>
#include <zbar.h>
#include <ZXing/ReadBarcode.h>

namespace {

struct ScanCase {
    int digits;
    int dpi;
};

// The sheet's first label as printed, the frame and the bars painted as the printer got them,
// with the white paper around the frame; the rows of the barcode only.
QImage printedBarcodeRows(const RecordedDocument& sheet, const TNalepka& label, double korppi)
{
    const QRect frame = QRectF(QPointF(label.Ramka1X, label.BarT) * korppi,
                               QPointF(label.Ramka2X, label.BarT + label.BarH) * korppi)
                            .toRect();
    QImage rows(frame.adjusted(-50, 0, 50, 0).size(), QImage::Format_Grayscale8);
    rows.fill(Qt::white);
    QPainter painter(&rows);
    painter.translate(-frame.left() + 50, -frame.top());
    for (const DrawCall& call : sheet.rects())
        painter.fillRect(call.rect, call.brush);
    return rows;
}

QString readWithZXing(const QImage& image)
{
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::ITF);
    const ZXing::ImageView view(image.constBits(), image.width(), image.height(),
                                ZXing::ImageFormat::Lum, int(image.bytesPerLine()));
    return QString::fromStdWString(ZXing::ReadBarcode(view, hints).text());
}

QString readWithZbar(const QImage& image)
{
    QByteArray packed;
    for (int y = 0; y < image.height(); ++y)
        packed.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width());
    zbar::ImageScanner scanner;
    scanner.set_config(zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
    scanner.set_config(zbar::ZBAR_I25, zbar::ZBAR_CFG_ENABLE, 1);
    scanner.set_config(zbar::ZBAR_I25, zbar::ZBAR_CFG_MIN_LEN, 2);
    zbar::Image zimage(image.width(), image.height(), "Y800", packed.constData(), packed.size());
    scanner.scan(zimage);
    return zimage.symbol_begin() == zimage.symbol_end()
               ? QString()
               : QString::fromStdString(zimage.symbol_begin()->get_data());
}

class BarcodeScan : public PrintingFixture, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(BarcodeScan, BothReadersReadTheIdentifier)
{
    const auto [digits, dpi] = GetParam();
    RecordingPrinterBackend backend({{QStringLiteral("Etykiety"), dpi}});
    start(&backend);
    const QString identifier =
        QStringLiteral("3141592653589793238462643383279502884197169399375105820974944592")
            .left(digits);
    labels->queue.ListaLini = {identifier + QStringLiteral("|II 1")};
    labels->settings.BezWyswB = true;
    labels->ParametryNalepki();
    labels->RysujNal(false);
    const TNalepka label = labels->queue.ListaNal.value(0);
    labels->DrukujStrone(0, false);

    EXPECT_TRUE(dialogs.shown().isEmpty()) << dialogs.shown().value(0).text.toStdString();
    ASSERT_EQ(backend.ended().size(), 1);
    const QImage rows = printedBarcodeRows(backend.ended()[0], label, dpi / 100.0);
    // ZXing reads interleaved 2 of 5 from six digits up.
    EXPECT_EQ(readWithZXing(rows), digits >= 6 ? identifier : QString());
    EXPECT_EQ(readWithZbar(rows), identifier);
}

std::vector<ScanCase> lengthsByResolution()
{
    std::vector<ScanCase> cases;
    for (int dpi : {300, 600, 1200})
        for (int digits : {2, 4, 6, 8, 10, 12, 14, 16, 20, 24, 32, 40, 48, 64})
            cases.push_back({digits, dpi});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Identifiers, BarcodeScan, ::testing::ValuesIn(lengthsByResolution()),
                         [](const ::testing::TestParamInfo<ScanCase>& info) {
                             return std::to_string(info.param.digits) + "DigitsAt" +
                                    std::to_string(info.param.dpi) + "Dpi";
                         });

} // namespace
