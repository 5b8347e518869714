// A label prints only when its bars scan: both ZXing and zbar read the identifier, the narrow bar
// is at least 0.16 mm and ten of them stay white on each side inside the frame. Otherwise it is
// set aside, naming the most digits its label holds (9 × n + 29 narrow bars must fit).
#include "printingfixture.h"

#include <QPainter>
#include <zbar.h>
#include <ZXing/ReadBarcode.h>

namespace {

class BarcodeScan : public PrintingFixture,
                    public ::testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(BarcodeScan, BothReadersReadTheIdentifier)
{
    const auto [digits, labelWidth, dpi] = GetParam();
    RecordingPrinterBackend backend({{QStringLiteral("Etykiety"), dpi}});
    start(&backend);
    const QString id =
        QStringLiteral("3141592653589793238462643383279502884197169399375105820974944592")
            .left(digits);
    labels->settings.SzerNalI = labelWidth; // with the 48-mm barcode box
    labels->settings.IlKol = 1;             // a 90-mm label is alone in its row on A4
    labels->settings.IFont.size = 8;        // "za dużo cyfr!" fits on the narrowest label
    labels->queue.ListaLini = QStringList{id + QStringLiteral("|II 1")};
    labels->ParametryNalepki();
    labels->RysujNal(false);
    const TNalepka label = labels->queue.ListaNal.value(0);
    labels->askNothing = true;
    labels->DrukujStrone(0, false);
    const QString most = labelWidth == 38 ? "20 cyfr" : labelWidth == 61 ? "34 cyfry" : "54 cyfry";
    if (digits > most.left(2).toInt()) {
        EXPECT_TRUE(backend.ended().isEmpty() && labels->queue.ListaLini.isEmpty());
        EXPECT_TRUE(dialogs.shown().value(0).text.endsWith("mieści się najwyżej " + most));
        return;
    }
    ASSERT_EQ(backend.ended().size(), 1) << dialogs.shown().value(0).text.toStdString();

    // 20 rows of the bars, 50 dots of paper beyond the frame on each side, rows not padded.
    const double korppi = dpi / 100.0;
    const int width = qRound((label.Ramka2X - label.Ramka1X) * korppi) / 4 * 4 + 100;
    QImage rows(width, 20, QImage::Format_Grayscale8);
    rows.fill(Qt::white);
    QPainter painter(&rows);
    painter.translate(50 - qRound(label.Ramka1X * korppi), -qRound((label.BarT + 2) * korppi));
    const int finest = dpi / 150, inside = qRound(label.Ramka1X * korppi) + 1 + 10 * finest;
    for (const DrawCall& call : backend.ended()[0].rects()) {
        painter.fillRect(call.rect, call.brush);
        if (call.brush == Qt::black && call.rect.top() == qRound(label.BarT * korppi)) {
            EXPECT_TRUE(call.rect.width() >= finest && call.rect.left() >= inside &&
                        call.rect.right() <= qRound(label.Ramka2X * korppi) - 1 - 10 * finest);
        }
    }
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

INSTANTIATE_TEST_SUITE_P(
    Identifiers, BarcodeScan,
    ::testing::Combine(::testing::Values(2, 6, 12, 20, 22, 34, 36, 48, 54, 56, 64),
                       ::testing::Values(38, 61, 90), ::testing::Values(300, 600, 1200)),
    [](const auto& info) {
        return std::to_string(std::get<0>(info.param)) + "DigitsOn" +
               std::to_string(std::get<1>(info.param)) + "MmAt" +
               std::to_string(std::get<2>(info.param)) + "Dpi";
    });

} // namespace
