// Every label that prints scans as its own identifier with ZXing and zbar, its narrow bar at
// least 0.16 mm and its quiet zone inside the frame; one whose symbol cannot keep both is set
// aside, naming the most digits its label holds.
#include "printingfixture.h"

#include <QPainter>
#include <zbar.h>
#include <ZXing/ReadBarcode.h>

namespace {

struct ScanCase {
    int digits;
    int labelWidth; // mm, with the default 48-mm barcode box
    int dpi;
};

// The most digits whose symbol, 9 × digits + 9 narrow elements, keeps 10 narrow elements of
// white on each side inside the frame at a narrow element of 0.16 mm or more.
int mostDigitsOn(int labelWidth)
{
    return labelWidth == 38 ? 20 : labelWidth == 61 ? 34 : 54;
}

QString mostDigitsText(int labelWidth)
{
    return labelWidth == 38 ? QStringLiteral("20 cyfr")
                            : QStringLiteral("%1 cyfry").arg(mostDigitsOn(labelWidth));
}

QString readByZXing(const QImage& rows)
{
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::ITF);
    const ZXing::ImageView view(rows.bits(), rows.width(), rows.height(), ZXing::ImageFormat::Lum);
    return QString::fromStdWString(ZXing::ReadBarcode(view, hints).text());
}

QString readByZbar(const QImage& rows)
{
    zbar::ImageScanner zbar;
    zbar.set_config(zbar::ZBAR_I25, zbar::ZBAR_CFG_MIN_LEN, 2);
    zbar::Image image(rows.width(), rows.height(), "Y800", rows.bits(), rows.sizeInBytes());
    return zbar.scan(image) == 1 ? QString::fromStdString(image.symbol_begin()->get_data())
                                 : QString();
}

void PrintTo(const ScanCase& c, std::ostream* out)
{
    *out << c.digits << " digits on " << c.labelWidth << " mm at " << c.dpi << " dpi";
}

class BarcodeScan : public PrintingFixture, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(BarcodeScan, PrintsWhatScansAndSetsAsideWhatCannot)
{
    const auto [digits, labelWidth, dpi] = GetParam();
    RecordingPrinterBackend backend({{QStringLiteral("Etykiety"), dpi}});
    start(&backend);
    const QString id =
        QStringLiteral("3141592653589793238462643383279502884197169399375105820974944592")
            .left(digits);
    labels->settings.SzerNalI = labelWidth;
    labels->settings.IlKol = 1;      // a 90-mm label is alone in its row on A4
    labels->settings.IFont.size = 8; // "za dużo cyfr!" fits on the narrowest label
    labels->queue.ListaLini = QStringList{id + QStringLiteral("|II 1")};
    labels->ParametryNalepki();
    labels->RysujNal(false);
    const TNalepka label = labels->queue.ListaNal.value(0);
    labels->askNothing = true;
    printQueue();

    const int most = mostDigitsOn(labelWidth);
    if (digits > most) {
        EXPECT_TRUE(backend.ended().isEmpty());
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_TRUE(dialogs.shown()[0].text.endsWith(
            QStringLiteral("na tej naklejce mieści się najwyżej ") + mostDigitsText(labelWidth)))
            << dialogs.shown()[0].text.toStdString();
        EXPECT_TRUE(labels->queue.ListaLini.isEmpty());
        return;
    }
    ASSERT_EQ(backend.ended().size(), 1) << dialogs.shown().value(0).text.toStdString();

    // 20 rows of the bars, 50 dots of paper beyond the frame on each side, rows not padded.
    const double korppi = dpi / 100.0;
    const QRect frame(qRound(label.Ramka1X * korppi), 0,
                      qRound((label.Ramka2X - label.Ramka1X) * korppi), 1);
    const int barTop = qRound(label.BarT * korppi);
    const int finest = dpi == 300 ? 2 : dpi == 600 ? 4 : 8;
    QImage rows(frame.width() / 4 * 4 + 100, 20, QImage::Format_Grayscale8);
    rows.fill(Qt::white);
    QPainter painter(&rows);
    painter.translate(50 - frame.left(), -barTop - 2);
    for (const DrawCall& call : backend.ended()[0].rects()) {
        painter.fillRect(call.rect, call.brush);
        const QRect bar = call.rect.toRect();
        if (call.brush == Qt::black && bar.top() == barTop) {
            EXPECT_GE(bar.width(), finest);
            EXPECT_GE(bar.left(), frame.left() + 1 + 10 * finest);
            EXPECT_LE(bar.right(), frame.right() - 1 - 10 * finest);
        }
    }
    painter.end();
    EXPECT_EQ(readByZXing(rows), digits >= 6 ? id : QString()); // ZXing reads from 6 digits up
    EXPECT_EQ(readByZbar(rows), id);
}

std::vector<ScanCase> scanCases()
{
    std::vector<ScanCase> cases;
    for (int digits : {2, 6, 12, 20, 22, 34, 36, 48, 54, 56, 64})
        for (int labelWidth : {38, 61, 90})
            for (int dpi : {300, 600, 1200})
                cases.push_back({digits, labelWidth, dpi});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Identifiers, BarcodeScan, ::testing::ValuesIn(scanCases()),
                         [](const auto& info) {
                             const ScanCase& c = info.param;
                             return std::to_string(c.digits) + "DigitsOn" +
                                    std::to_string(c.labelWidth) + "MmAt" + std::to_string(c.dpi) +
                                    "Dpi";
                         });

} // namespace
