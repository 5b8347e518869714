// The label stock: the catalogue read from the real template files, the stock and the printer
// corrections in the settings file, the correction on the printed page, and a grid that leaves
// the page.
#include "labels/settingsfile.h"
#include "labels/stockcatalogue.h"
#include "labels/stocksettings.h"
#include "platform/files/profilefile.h"
#include "printingfixture.h"

#include <QFile>

void PrintTo(const LabelStock& stock, std::ostream* out)
{
    *out << qPrintable(QStringLiteral("%1: %2 at %3, %4 by %5, %6, %7 on %8 %9 × %10")
                           .arg(stock.name(), stock.sizeText())
                           .arg(stock.left)
                           .arg(stock.top)
                           .arg(stock.columnPitch)
                           .arg(stock.rowPitch)
                           .arg(stock.gridText(), stock.paper)
                           .arg(stock.paperWidth)
                           .arg(stock.paperHeight));
}

namespace {

QString templatesFolder()
{
    return QStringLiteral("/usr/share/libglabels-3.0/templates");
}

// Avery L7160 as its template gives it (points, 1/72 inch), in hundredths of a millimetre.
LabelStock averyL7160()
{
    return {"Avery", "L7160", 6399, 3810, 748, 1549, 6604, 3810, 3, 7, "A4", 21000, 29700};
}

TEST(StockCatalogue, ReadsTheSheetsOfTheRealTemplateFiles)
{
    if (!QFile::exists(templatesFolder()))
        GTEST_SKIP() << "glabels-data is not installed (scripts/install-deps.sh installs it)";
    const StockCatalogue catalogue = StockCatalogue::read({templatesFolder()});
    const LabelStock offered[] = {
        averyL7160(), // the same as part 7160, in points
        {"Herma", "4608", 4830, 2540, 850, 850, 4830, 2540, 4, 11, "A4", 21000, 29700},
        {"Avery", "5160", 6668, 2540, 397, 1270, 7064, 2540, 3, 10, "US Letter", 21590, 27940},
        {"Avery", "L7163", 9910, 3810, 335, 1517, 10301, 3810, 2, 7, "A4", 21000, 29700}};
    for (const LabelStock& stock : offered) {
        SCOPED_TRACE(stock.name().toStdString());
        const LabelStock* found = catalogue.find(stock.name().toLower());
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, stock);
    }
    const std::pair<const char*, LeftOutReason> leftOut[] = {
        {"Avery 5294", LeftOutReason::NotRectangular},
        {"Online Labels OL395", LeftOutReason::SeveralLayouts},
        {"Dymo 11354", LeftOutReason::OutOfRange}};
    for (const auto& [name, reason] : leftOut) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(catalogue.find(QString::fromUtf8(name)));
        ASSERT_TRUE(catalogue.findLeftOut(QString::fromUtf8(name)));
        EXPECT_EQ(catalogue.findLeftOut(QString::fromUtf8(name))->reason, reason);
    }
    EXPECT_EQ(catalogue.offered.size() + catalogue.leftOut.size(), 1756);
    const QList<LabelStock> bySize = catalogue.matching(QStringLiteral("herma 48,3x25,4 4x11"));
    EXPECT_TRUE(bySize.contains(offered[1]));
    EXPECT_EQ(bySize, catalogue.matching(QStringLiteral("HERMA 48.3 × 25.4 4×11")));
}

TEST(StockCatalogue, ReadsLengthsInEachUnit)
{
    const std::pair<const char*, std::optional<int>> lengths[] = {
        {"72", 2540},        {"72pt", 2540},   {"1in", 2540},
        {"25.4mm", 2540},    {"2.54cm", 2540}, {"6pc", 2540},
        {" .5 in", 1270},    {"", 7},          {"7 furlongs", std::nullopt},
        {"mm", std::nullopt}};
    for (const auto& [text, hundredths] : lengths)
        EXPECT_EQ(catalogueLength(QString::fromUtf8(text), 7), hundredths) << text;
}

class StockSettings : public PrintingFixture {};

// The stock and the corrections come back as written; the stock is dropped, with a warning,
// where the sheet's whole millimetres were changed without it, and a save without one clears it.
TEST_F(StockSettings, AreReadBackAndDroppedWhereTheSheetChangedWithoutThem)
{
    const QString path = programDir() + QStringLiteral("zelk_nal.ini");
    Settings written;
    useStock(written, averyL7160());
    written.corrections = {{QStringLiteral("Plik PDF"), {15, -7, 10000, 10000}},
                           {QStringLiteral("Laser"), {0, 0, 10025, 9990}}};
    writeSettings(path, written, bufferDir() + QStringLiteral("naklejka.dat"), true);
    EXPECT_EQ(written.SzerNalI, 66);
    EXPECT_EQ(written.MargGI, 16);
    SettingsReading reading = readSettings(ProfileFile(path));
    EXPECT_EQ(reading.settings.stock, averyL7160());
    EXPECT_EQ(reading.settings.corrections, written.corrections);
    EXPECT_TRUE(reading.warnings.isEmpty()) << reading.warnings.join(u'\n').toStdString();
    EXPECT_TRUE(ProfileFile(path).readString(u"Korekta Drukarki", u"Laser") ==
                QStringLiteral("0 0 100.25 99.9"));

    ProfileFile edited(path);
    edited.writeInteger(u"Wymiary Nalepki", u"Szerokość", 61);
    edited.writeString(u"Korekta Drukarki", u"Laser", QStringLiteral("0 0 103 100"));
    edited.save();
    reading = readSettings(ProfileFile(path));
    EXPECT_EQ(reading.settings.stock, std::nullopt);
    EXPECT_EQ(reading.warnings,
              QStringList({QStringLiteral("Wymiary naklejek w ustawieniach zmieniono bez arkusza "
                                          "Avery L7160 - obowiązują wymiary w milimetrach."),
                           QStringLiteral("Korekta drukarki „Laser” w sekcji [Korekta Drukarki] "
                                          "(„0 0 103 100”) nie ma postaci „DX DY [SX SY]” w "
                                          "granicach ±10 mm i ±2 % - pominięto ją.")}));

    writeSettings(path, reading.settings, bufferDir() + QStringLiteral("naklejka.dat"), true);
    EXPECT_TRUE(ProfileFile(path).readString(u"Arkusz Naklejek", u"Symbol").isEmpty());
    EXPECT_EQ(readSettings(ProfileFile(path)).warnings.size(), 1) << "the correction only";
}

TEST(PrinterCorrection, IsReadInMillimetresAndPercentWithinItsLimits)
{
    const std::pair<const char*, std::optional<PrinterCorrection>> texts[] = {
        {"1.5 -0.7", PrinterCorrection{15, -7, 10000, 10000}},
        {" 10  -10 102 98 ", PrinterCorrection{100, -100, 10200, 9800}},
        {"0 0 100.25 99.9", PrinterCorrection{0, 0, 10025, 9990}},
        {"10.1 0", std::nullopt},
        {"0 0 102.01 100", std::nullopt},
        {"1,5 0", std::nullopt},
        {"1 2 3", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [text, correction] : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseCorrection(QString::fromUtf8(text)), correction);
        if (correction) {
            EXPECT_EQ(parseCorrection(correctionText(*correction)), correction);
        }
    }
}

class OnPaper : public PrintingFixture {
protected:
    void SetUp() override
    {
        PrintingFixture::SetUp();
        backend.margins = QMarginsF(4, 4, 4, 4);
        start(&backend);
    }

    // The outline of each label printed: the black rectangles the frames are filled from.
    QList<QRectF> frames() const
    {
        QList<QRectF> black;
        for (const DrawCall& call : backend.ended().value(0).rects())
            if (call.brush == Qt::black && call.rect.width() > 100)
                black << call.rect;
        return black;
    }

    RecordingPrinterBackend backend;
};

// Everything printed on the printer moves and is scaled on the paper; the shift is whole dots.
TEST_F(OnPaper, ThePrintersCorrectionMovesAndScalesWhatItPrints)
{
    labels->settings.corrections.insert(QStringLiteral("etykiety"), {15, -7, 10100, 9900});
    compose(24);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    ASSERT_EQ(frames().size(), 24);
    // The first frame at 300 dpi is 36, 57, 702 × 345 dots from the printable area's corner,
    // 47 dots from the paper's; 1.5 mm is 18 dots, -0.7 mm -8.
    EXPECT_EQ(frames()[0], QRectF(36 * 1.01 + 18, 57 * 0.99 - 8, 702 * 1.01, 345 * 0.99));
}

// The calibration page outlines the stock's labels where they print, from the paper's edge, and
// leaves the settings being edited as they were.
TEST_F(OnPaper, TheCalibrationPageOutlinesTheStocksLabels)
{
    const Settings before = labels->settings;
    labels->printCalibrationPage(averyL7160());
    ASSERT_EQ(backend.ended().size(), 1);
    const RecordedDocument page = backend.ended()[0];
    EXPECT_EQ(page.title, QStringLiteral("ZELK - Strona kalibracyjna"));
    // 7.48 and 15.49 mm are 88 and 183 dots at 300 dpi, less the 47 dots of the margin.
    EXPECT_EQ(page.rects().value(0).rect, QRectF(41, 136, 756, 1)) << "the first label's top edge";
    EXPECT_TRUE(page.texts().join(u' ').contains(
        QStringLiteral("Strona kalibracyjna: Avery L7160, drukarka „Etykiety”, korekta 0 0.")));
    EXPECT_EQ(labels->settings, before);
}

// The first column or row that leaves the paper, or the printer's printable area, is named and
// nothing prints; with the window after the message, in a run that asks nothing at all.
TEST_F(OnPaper, AGridThatLeavesThePageIsNamedAndNothingPrints)
{
    const auto wide = [](Settings& s) { s.SzerNalI = 70; };
    const auto tall = [](Settings& s) { s.IlWie = 10; };
    const auto atTheEdge = [](Settings& s) {
        useStock(s, {"Test", "E", 7000, 3000, 0, 500, 7000, 3000, 3, 8, "A4", 21000, 29700});
    };
    const struct {
        const char* name;
        std::function<void(Settings&)> change;
        const char* failure;
    } cases[] = {
        {"three columns of 70 mm", wide,
         "Kolumna 3 naklejek wychodzi o 19,8 mm poza prawą krawędź papieru (210 × 297 mm) - "
         "popraw układ naklejek na stronie."},
        {"ten rows", tall,
         "Wiersz 9 naklejek wychodzi o 29,6 mm poza dolną krawędź papieru (210 × 297 mm) - "
         "popraw układ naklejek na stronie."},
        {"a stock from the paper's edge", atTheEdge,
         "Kolumna 1 naklejek wychodzi o 4 mm poza obszar wydruku drukarki „Etykiety” przy lewej "
         "krawędzi papieru - popraw układ naklejek na stronie."}};
    for (const auto& [name, change, failure] : cases) {
        for (const bool asking : {true, false}) {
            SCOPED_TRACE(std::string(name) + (asking ? ", asking" : ", asking nothing"));
            start(&backend);
            change(labels->settings);
            labels->settings.BezWyswB = !asking;
            compose(24);
            const qsizetype waiting = labels->queue.ListaLini.size();
            dialogs.clear();
            dialogs.answer(MessageAnswer::No);
            printQueue();
            ASSERT_FALSE(dialogs.shown().isEmpty());
            EXPECT_EQ(dialogs.shown()[0].text, QString::fromUtf8(failure));
            EXPECT_TRUE(backend.ended().isEmpty());
            EXPECT_EQ(labels->queue.ListaLini.size(), waiting);
        }
    }
}

} // namespace
