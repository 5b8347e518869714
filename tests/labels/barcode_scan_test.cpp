// Printed bars of every identifier length, with the frame around them, scan with ZXing and zbar.
#include "printingfixture.h"

#include <QPainter>
#include <zbar.h>
#include <ZXing/ReadBarcode.h>

namespace {

class BarcodeScan : public PrintingFixture,
                    public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(BarcodeScan, BothReadersReadTheIdentifier)
{
    const auto [digits, dpi] = GetParam();
    RecordingPrinterBackend backend({{QStringLiteral("Etykiety"), dpi}});
    start(&backend);
    const QString id =
        QStringLiteral("3141592653589793238462643383279502884197169399375105820974944592")
            .left(digits);
    labels->queue.ListaLini = QStringList{id + QStringLiteral("|II 1")};
    labels->ParametryNalepki();
    labels->RysujNal(false);
    const TNalepka label = labels->queue.ListaNal.value(0);
    dialogs.answer(MessageAnswer::No);
    labels->DrukujStrone(0, false);
    ASSERT_EQ(backend.ended().size(), 1) << dialogs.shown().value(0).text.toStdString();

    // 20 rows of the bars, 50 dots of paper beyond the frame on each side, rows not padded.
    const double korppi = dpi / 100.0;
    const int width = qRound((label.Ramka2X - label.Ramka1X) * korppi) / 4 * 4 + 100;
    QImage rows(width, 20, QImage::Format_Grayscale8);
    rows.fill(Qt::white);
    QPainter painter(&rows);
    painter.translate(50 - qRound(label.Ramka1X * korppi), -qRound((label.BarT + 2) * korppi));
    for (const DrawCall& call : backend.ended()[0].rects())
        painter.fillRect(call.rect, call.brush);
    painter.end();

    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::ITF);
    const ZXing::ImageView view(rows.bits(), rows.width(), rows.height(), ZXing::ImageFormat::Lum);
    const QString fromZXing = QString::fromStdWString(ZXing::ReadBarcode(view, hints).text());
    EXPECT_EQ(fromZXing, digits >= 6 ? id : QString()); // ZXing reads it from 6 digits up
    zbar::ImageScanner zbar;
    zbar.set_config(zbar::ZBAR_I25, zbar::ZBAR_CFG_MIN_LEN, 2);
    zbar::Image image(rows.width(), rows.height(), "Y800", rows.bits(), rows.sizeInBytes());
    ASSERT_EQ(zbar.scan(image), 1);
    EXPECT_EQ(QString::fromStdString(image.symbol_begin()->get_data()), id);
}

INSTANTIATE_TEST_SUITE_P(Identifiers, BarcodeScan,
                         ::testing::Combine(::testing::Values(2, 4, 6, 8, 10, 12, 16, 24, 40, 64),
                                            ::testing::Values(300, 600, 1200)),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) + "DigitsAt" +
                                    std::to_string(std::get<1>(info.param)) + "Dpi";
                         });

} // namespace
