#include "platform/printing/devmode.h"
#include "printer/morvalendefaultprinter.h"
#include "recordingprinterbackend.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using Installed = RecordingPrinterBackend::Installed;

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& error) {
        return error.text();
    }
    return {};
}

QByteArray settingsWithCopies(const QString& device, int copies)
{
    PrintSettings settings;
    settings.deviceName = device;
    settings.copies = copies;
    return DevMode::encode(settings);
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class PrinterObject : public ::testing::Test {
protected:
    RecordingPrinterBackend backend{{{"Biuro"}, {"Etykiety", 600}}, 0};
    MorvalenDefaultPrinter printer{&backend};
};

TEST_F(PrinterObject, SelectsTheDefaultPrinterWhenFirstAsked)
{
    backend.defaultIndex = 1;
    EXPECT_EQ(printer.printerIndex(), 1);
    EXPECT_EQ(DevMode::decode(*printer.currentDevice().settings).resolution, 600);
}

TEST_F(PrinterObject, ReportsAMissingDefaultAndAnIndexOutOfRange)
{
    backend.defaultIndex = -1;
    EXPECT_EQ(errorOf([this] { printer.printerIndex(); }),
              "There is no default printer currently selected");
    EXPECT_EQ(errorOf([this] { printer.setPrinterIndex(2); }), "Printer index out of range");
    MorvalenDefaultPrinter withoutPrinters(nullptr);
    EXPECT_EQ(errorOf([&] { withoutPrinters.setPrinterIndex(-1); }),
              "There is no default printer currently selected");
}

TEST_F(PrinterObject, OnlyAnotherPrinterOrAResetBringsAFreshBlock)
{
    printer.setPrinterIndex(1);
    QByteArray& block = *printer.currentDevice().settings;
    block = settingsWithCopies("Etykiety", 5);
    printer.setPrinterIndex(1);
    EXPECT_EQ(*printer.currentDevice().settings, settingsWithCopies("Etykiety", 5));

    reset_printer_device_mode(printer);
    EXPECT_EQ(printer.printerIndex(), 1);
    EXPECT_EQ(*printer.currentDevice().settings, backend.driverSettings(backend.printers()[1]));
}

TEST_F(PrinterObject, HeldSettingsAreCapturedAndAppliedUnderNamesOfAnyCase)
{
    printer.setPrinterIndex(1);
    *printer.currentDevice().settings = settingsWithCopies("Etykiety", 4);
    printer.save_current_print_settings_as("Etykiety");
    printer.setPrinterIndex(0);

    printer.use_print_settings_of("ETYKIETY");
    EXPECT_EQ(printer.printerIndex(), 1);
    EXPECT_EQ(*printer.currentDevice().settings, settingsWithCopies("Etykiety", 4));

    // A name already held captures the current printer; the index given is not used.
    printer.setPrinterIndex(0);
    printer.save_print_settings_as("etykiety", 1);
    ASSERT_EQ(printer.device_modes_list.size(), 1u);
    EXPECT_EQ(printer.device_mode_of("Etykiety")->selected, 0);
    EXPECT_EQ(printer.current_device, printer.device_mode_of("Etykiety"));
}

TEST_F(PrinterObject, HolderChecksNameTheModuleAndLine)
{
    printer.save_current_print_settings_as("Biuro");
    DevModeEnv& held = *printer.device_mode_of("Biuro");
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);

    held.initialized = false;
    const QRegularExpression notInitialized(
        R"(^zainicjalizowany \(morvalen_printers, line \d+\)$)");
    EXPECT_TRUE(notInitialized.match(errorOf([&] { (void)held.size(); })).hasMatch());
    EXPECT_TRUE(notInitialized.match(errorOf([&] { held.update_mode(true); })).hasMatch());

    held.device_mode = QByteArray();
    EXPECT_TRUE(QRegularExpression(R"(^device_mode zaalokowany \(morvalen_printers, line \d+\)$)")
                    .match(errorOf([&] { (void)held.size(); }))
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression(R"(^device_mode allocated \(morvalen_printers, line \d+\)$)")
                    .match(errorOf([&] { held.save_print_settings_to_stream(stream); }))
                    .hasMatch());
    EXPECT_EQ(stream.size(), 0);
}

struct FindCase {
    const char* what;
    QList<Installed> installed;
    QString saved;
    int expected; // -1: not found
};

class FindPrinterIndex : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindPrinterIndex, MatchesTheSavedDeviceName)
{
    RecordingPrinterBackend backend(GetParam().installed);
    MorvalenDefaultPrinter printer(&backend);
    if (GetParam().expected >= 0)
        EXPECT_EQ(printer.find_printer_index(GetParam().saved), GetParam().expected);
    else
        EXPECT_EQ(errorOf([&] { printer.find_printer_index(GetParam().saved); }),
                  "Nazwa drukarki zapisanej w pliku nie występuje w systemie");
}

const QString longName = QStringLiteral("Zebra ZD420 etykiety biblioteczne, pokój 12");

INSTANTIATE_TEST_SUITE_P(
    Cases, FindPrinterIndex,
    ::testing::Values(FindCase{"LongName", {{"Biuro"}, {longName}}, longName.left(31), 1},
                      FindCase{
                          "PortCut", {{"Biuro on LPT1:"}, {"Etykiety on USB001"}}, "Etykiety", 1},
                      FindCase{"PortNotPartOfTheName", {{"Etykiety on USB001"}}, "Etykiety on", -1},
                      FindCase{"EarlierPrefixWins", {{"Etykiety 2"}, {"Etykiety"}}, "Etykiety", 0},
                      FindCase{"EmptyNameMatchesTheFirst", {{"Biuro"}, {"Etykiety"}}, "", 0},
                      FindCase{"CaseCounts", {{"etykiety"}}, "Etykiety", -1}),
    [](const auto& info) { return std::string(info.param.what); });

// Settings saved by one run and read by the next one.
class SavedSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        RecordingPrinterBackend earlierBackend({{"Biuro"}, {longName, 600}});
        MorvalenDefaultPrinter earlier(&earlierBackend);
        earlier.setPrinterIndex(1);
        *earlier.currentDevice().settings = settingsWithCopies(longName, 7);
        earlier.save_current_print_settings_as("Etykiety");
        earlier.save_print_settings_to_file("Etykiety", file);
        QFile saved(file);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        block = saved.readAll();
    }

    QTemporaryDir dir;
    QString file = dir.filePath("zelk_nal.prs");
    QByteArray block;
    RecordingPrinterBackend backend{{{"Drukarka"}, {"Biuro"}, {longName + " on USB001", 600}}};
    MorvalenDefaultPrinter printer{&backend};
};

TEST_F(SavedSettings, TheFileHoldsTheBlockAndNothingElse)
{
    EXPECT_EQ(block, settingsWithCopies(longName, 7));
}

TEST_F(SavedSettings, AreFoundAgainAndApplied)
{
    writeFile(file, block + QByteArray(50, 'x')); // bytes after the block are not read
    printer.read_print_settings_from_file("Etykiety", file);
    EXPECT_EQ(printer.printerIndex(), 2);
    EXPECT_EQ(*printer.currentDevice().settings, block);
    EXPECT_EQ(printer.device_mode_of("etykiety")->device_mode, block);
}

TEST_F(SavedSettings, OfAnotherDriverSizeLeaveTheDriversOwn)
{
    backend.installed[2].driverExtra = 500;
    EXPECT_EQ(errorOf([this] { printer.read_print_settings_from_file("Etykiety", file); }),
              "Wielkość zapisanego i aktualnego bufora jest różna. Prawdopodobnie podmieniono "
              "sterownik drukarki.");
    EXPECT_EQ(printer.printerIndex(), 2);
    ASSERT_NE(printer.device_mode_of("Etykiety"), nullptr);
    EXPECT_EQ(printer.device_mode_of("Etykiety")->size(), 720);
    EXPECT_EQ(*printer.currentDevice().settings, backend.driverSettings(backend.printers()[2]));
}

TEST_F(SavedSettings, CutShortAreAStreamReadErrorAndNotApplied)
{
    for (int length : {100, 300}) {
        SCOPED_TRACE(length);
        writeFile(file, block.left(length));
        MorvalenDefaultPrinter fresh(&backend);
        EXPECT_EQ(errorOf([&] { fresh.read_print_settings_from_file("Etykiety", file); }),
                  "Stream read error");
        if (length > DevMode::publicSize)
            EXPECT_EQ(*fresh.currentDevice().settings,
                      backend.driverSettings(backend.printers()[2]));
        else
            EXPECT_TRUE(fresh.device_modes_list.empty());
    }
}

TEST_F(SavedSettings, OfAPrinterNoLongerInstalledChangeNothing)
{
    RecordingPrinterBackend otherBackend({{"Biuro"}, {"Drukarka"}}, 1);
    MorvalenDefaultPrinter other(&otherBackend);
    EXPECT_EQ(errorOf([&] { other.read_print_settings_from_file("Etykiety", file); }),
              "Nazwa drukarki zapisanej w pliku nie występuje w systemie");
    EXPECT_TRUE(other.device_modes_list.empty());
    EXPECT_EQ(other.printerIndex(), 1);
}

TEST_F(SavedSettings, UnderANameAlreadyHeldAreNotApplied)
{
    printer.setPrinterIndex(2);
    printer.save_current_print_settings_as("Etykiety");
    printer.read_print_settings_from_file("Etykiety", file);
    EXPECT_EQ(printer.device_mode_of("Etykiety")->device_mode,
              backend.driverSettings(backend.printers()[2]));

    printer.setPrinterIndex(0);
    printer.save_current_print_settings_as("Drukarka");
    printer.read_print_settings_from_file("Drukarka", file); // another device: the name goes
    EXPECT_EQ(printer.device_mode_of("Drukarka"), nullptr);
}

// A block of the right size whose values no printer has is refused like a block of another
// driver; the ends of the ranges are accepted.
TEST_F(SavedSettings, WithValuesNoPrinterHasLeaveTheDriversOwn)
{
    const std::pair<void (*)(PrintSettings&), QString> cases[] = {
        {[](PrintSettings& s) { s.resolution = 1; },
         "rozdzielczość 1 dpi spoza zakresu od 60 do 4800 dpi"},
        {[](PrintSettings& s) { s.resolution = 4801; },
         "rozdzielczość 4801 dpi spoza zakresu od 60 do 4800 dpi"},
        {[](PrintSettings& s) { s.pageSize = QPageSize(QSizeF(9.9, 297), QPageSize::Millimeter); },
         "papier 9.9 × 297 mm, bok krótszy niż 10 mm"},
        {[](PrintSettings& s) {
             s.orientation = QPageLayout::Landscape;
             s.margins = QMarginsF(5, 150, 5, 60);
         },
         "marginesy (lewy 5, górny 150, prawy 5, dolny 60 mm) nie mieszczą się na papierze 297 × "
         "210 mm"},
        {[](PrintSettings& s) { s.margins = QMarginsF(4.2, -1, 4.2, 3); },
         "marginesy (lewy 4.2, górny -1, prawy 4.2, dolny 3 mm) nie mieszczą się na papierze 210 × "
         "297 mm"},
        {[](PrintSettings& s) { s.resolution = 60; }, ""},
        {[](PrintSettings& s) {
             s.resolution = 4800;
             s.pageSize = QPageSize(QSizeF(10, 30), QPageSize::Millimeter);
             s.margins = QMarginsF(4.9, 0, 5, 29.9);
         },
         ""},
    };
    const QByteArray driversOwn = backend.driverSettings(backend.printers()[2]);
    for (const auto& [change, flaw] : cases) {
        SCOPED_TRACE(flaw.toStdString());
        PrintSettings saved;
        saved.deviceName = longName;
        change(saved);
        writeFile(file, DevMode::encode(saved));
        MorvalenDefaultPrinter fresh(&backend);
        const QString error =
            errorOf([&] { fresh.read_print_settings_from_file("Etykiety", file); });
        EXPECT_EQ(error, flaw.isEmpty() ? QString()
                                        : "Ustawienia drukarki zapisane w pliku są błędne: " +
                                              flaw + ". Użyto ustawień domyślnych drukarki.");
        EXPECT_EQ(*fresh.currentDevice().settings,
                  flaw.isEmpty() ? DevMode::encode(saved) : driversOwn);
    }
}

TEST_F(SavedSettings, CollectionFormRoundTrips)
{
    printer.setPrinterIndex(0);
    *printer.currentDevice().settings = settingsWithCopies("Drukarka", 2);
    printer.save_current_print_settings_as("Pierwsza");
    printer.setPrinterIndex(2);
    *printer.currentDevice().settings = settingsWithCopies(longName, 3);
    printer.save_current_print_settings_as("Druga");

    const QString collection = dir.filePath("wszystkie.prs");
    EXPECT_TRUE(errorOf([&] {
                    printer.save_all_print_settings_to_file(collection);
                }).startsWith("Cannot open file"));
    writeFile(collection, {});
    printer.save_all_print_settings_to_file(collection);
    EXPECT_EQ(QFileInfo(collection).size(), 4 + 2 * (256 + 1244));

    MorvalenDefaultPrinter next(&backend);
    next.read_all_print_settings_from_file(collection);
    ASSERT_EQ(next.device_modes_list.size(), 2u);
    EXPECT_EQ(next.device_modes_list[0].name, "Pierwsza");
    EXPECT_EQ(next.device_modes_list[0].env->device_mode, settingsWithCopies("Drukarka", 2));
    EXPECT_EQ(next.device_modes_list[1].name, "Druga");
    EXPECT_EQ(next.device_modes_list[1].env->device_mode, settingsWithCopies(longName, 3));
}

TEST_F(SavedSettings, AMissingFileNamesItself)
{
    EXPECT_TRUE(errorOf([this] {
                    printer.read_print_settings_from_file("x", dir.filePath("nie"));
                }).startsWith(QStringLiteral("Cannot open file \"%1\".").arg(dir.filePath("nie"))));
}

} // namespace
