// The printer-settings files: zelk_nal.prs (one settings block) and the collection form (a
// count, then names and blocks), read against a made-up set of printers. Whatever was read
// must be applicable, and the collection saved from it must read again.
#include "fuzzsupport.h"
#include "platform/printing/devmode.h"
#include "printer/morvalendefaultprinter.h"

#include <QtEndian>

namespace {

// Two printers: one with our own driver, one whose driver knows only the public part, so that
// both the matching and the mismatching block sizes are reachable.
class FakePrinterBackend : public PrinterBackend {
public:
    QList<PrinterInfo> printers() override
    {
        return {{QStringLiteral("Etykiety"), QStringLiteral("Etykiety"), {}, {}},
                {QStringLiteral("Biuro on LPT1:"), QStringLiteral("Biuro"), {}, {}}};
    }
    int defaultPrinter() override { return 0; }
    QByteArray driverSettings(const PrinterInfo& printer) override
    {
        PrintSettings settings;
        settings.deviceName = printer.device;
        QByteArray block = DevMode::encode(settings);
        if (printer.device == QStringLiteral("Biuro")) {
            block.truncate(DevMode::publicSize);
            qToLittleEndian<quint16>(0, block.data() + DevMode::driverExtraOffset);
        }
        return block;
    }
    std::unique_ptr<PrintDocument> startDocument(const PrinterInfo&, const QByteArray&,
                                                 const QString&, int) override
    {
        throw PrinterError(QStringLiteral("no documents while fuzzing"));
    }
    void setFileFolder(const QString&) override {}
    SheetFate settleSheet(const QString&, bool) override { return SheetFate::NotPrinted; }
};

// Applies every held block in turn, as printing does, and decodes what the printer got.
void applyAll(MorvalenDefaultPrinter& printer)
{
    for (const auto& entry : printer.device_modes_list) {
        printer.use_print_settings_of(entry.name);
        DevMode::decode(*printer.currentDevice().settings);
    }
}

void readCollection(const QString& fileName)
{
    FakePrinterBackend backend;
    MorvalenDefaultPrinter printer(&backend);
    try {
        printer.read_all_print_settings_from_file(fileName);
    } catch (const AppError&) {
        // A damaged file is reported to the user; what was read before the damage stays.
    }
    applyAll(printer);
    if (printer.device_modes_list.empty())
        return;

    printer.save_all_print_settings_to_file(fileName);
    FakePrinterBackend reloadedBackend;
    MorvalenDefaultPrinter reloaded(&reloadedBackend);
    try {
        reloaded.read_all_print_settings_from_file(fileName);
    } catch (const AppError&) {
        Fuzz::fail("a saved collection does not read again");
    }
    if (reloaded.device_modes_list.size() != printer.device_modes_list.size())
        Fuzz::fail("a saved collection reads with another number of settings");
}

void readSingleBlock(const QString& fileName)
{
    FakePrinterBackend backend;
    MorvalenDefaultPrinter printer(&backend);
    const QString name = QStringLiteral("Etykiety");
    try {
        printer.read_print_settings_from_file(name, fileName);
    } catch (const AppError&) {
        return;
    }
    applyAll(printer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    DevMode::decode(bytes);
    const QString fileName = Fuzz::scratchFile(bytes);
    readSingleBlock(fileName);
    readCollection(Fuzz::scratchFile(bytes));
    return 0;
}
