#include "printer/devmodeenv.h"

#include "platform/printing/devmode.h"
#include "platform/printing/printer.h"
#include "printer/printerassert.h"

#include <QIODevice>

DevModeEnv::DevModeEnv(Printer& p, int pidx)
    : printer(p)
    , selected(pidx < 0 ? p.printerIndex() : pidx)
{
    update_mode(false);
}

int DevModeEnv::size() const
{
    printerAssert(!device_mode.isNull(), "device_mode zaalokowany");
    printerAssert(initialized, "zainicjalizowany");
    return DevMode::blockSize(device_mode);
}

void DevModeEnv::update_mode(bool override_printer_index)
{
    if (!device_mode.isNull()) {
        size();
        device_mode = QByteArray();
    }
    initialized = false;
    if (override_printer_index)
        selected = printer.printerIndex();
    else
        printer.setPrinterIndex(selected);
    takeCurrentDevice();
    const int bytes = DevMode::blockSize(*handle);
    device_mode = handle->left(bytes).leftJustified(bytes, '\0');
    initialized = true;
}

void DevModeEnv::use_mode()
{
    printer.setPrinterIndex(selected);
    takeCurrentDevice();
    // The printer's block becomes the held copy, whatever the size of the block it replaces.
    *handle = device_mode.left(size());
}

void DevModeEnv::save_print_settings_to_stream(QIODevice& stream) const
{
    printerAssert(!device_mode.isNull(), "device_mode allocated");
    const int bytes = size();
    if (stream.write(device_mode.constData(), bytes) != bytes)
        throw AppError(QStringLiteral("Stream write error"));
}

void DevModeEnv::read_print_settings_from_stream(QIODevice& stream)
{
    printerAssert(!device_mode.isNull(), "device_mode allocated");
    const int bytes = size();
    const QByteArray block = stream.read(bytes);
    if (block.size() != bytes)
        throw AppError(StandardErrors::streamRead());
    device_mode = block;
    use_mode();
}

void DevModeEnv::takeCurrentDevice()
{
    const Printer::Device current = printer.currentDevice();
    dev = current.device;
    drv = current.driver;
    prt = current.port;
    handle = current.settings;
}
