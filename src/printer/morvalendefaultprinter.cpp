#include "printer/morvalendefaultprinter.h"

#include "platform/files/replacefile.h"
#include "platform/printing/devmode.h"
#include "printer/printerassert.h"

#include <algorithm>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

constexpr int nameFieldBytes = 256;
constexpr int nameFieldUnits = nameFieldBytes / 2;

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

AppError cannotOpen(const QString& fileName, const QFileDevice& file)
{
    return AppError(QStringLiteral("Cannot open file \"%1\". %2")
                        .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

QByteArray readExactly(QIODevice& stream, qint64 bytes)
{
    QByteArray data = stream.read(bytes);
    if (data.size() != bytes)
        throw AppError(StandardErrors::streamRead());
    return data;
}

void writeAll(QIODevice& stream, const QByteArray& data)
{
    if (stream.write(data) != data.size())
        throw AppError(QStringLiteral("Stream write error"));
}

QByteArray nameField(const QString& name)
{
    QByteArray field(nameFieldBytes, '\0');
    const QString cut = name.left(nameFieldUnits - 1); // keeps the terminating NUL
    for (qsizetype i = 0; i < cut.size(); ++i)
        qToLittleEndian<quint16>(cut.at(i).unicode(), field.data() + 2 * i);
    return field;
}

QString nameOf(const QByteArray& field)
{
    QString name;
    for (int i = 0; i < nameFieldUnits; ++i) {
        const auto unit = qFromLittleEndian<quint16>(field.constData() + 2 * i);
        if (unit == 0)
            break;
        name += QChar(unit);
    }
    return name;
}

} // namespace

DevModeEnv* MorvalenDefaultPrinter::get_device_modes_list_item_by_name(const QString& n)
{
    const auto found =
        std::find_if(device_modes_list.begin(), device_modes_list.end(),
                     [&n](const DeviceMode& entry) { return sameName(entry.name, n); });
    return found == device_modes_list.end() ? nullptr : found->env.get();
}

DevModeEnv& MorvalenDefaultPrinter::holder(const QString& n)
{
    DevModeEnv* env = get_device_modes_list_item_by_name(n);
    printerAssert(env != nullptr, "device_mode allocated");
    return *env;
}

void MorvalenDefaultPrinter::remove(const QString& n)
{
    std::erase_if(device_modes_list, [this, &n](const DeviceMode& entry) {
        if (!sameName(entry.name, n))
            return false;
        if (current_device == entry.env.get())
            current_device = nullptr;
        return true;
    });
}

void MorvalenDefaultPrinter::save_print_settings_as(const QString& n, int pidx)
{
    if (DevModeEnv* existing = get_device_modes_list_item_by_name(n)) {
        current_device = existing;
    } else {
        auto created = std::make_unique<DevModeEnv>(*this, pidx);
        current_device = created.get();
        device_modes_list.push_back({n, std::move(created)});
    }
    current_device->update_mode(true);
}

void MorvalenDefaultPrinter::save_current_print_settings_as(const QString& n)
{
    save_print_settings_as(n, printerIndex());
}

void MorvalenDefaultPrinter::use_print_settings_of(const QString& n)
{
    holder(n).use_mode();
}

void MorvalenDefaultPrinter::save_print_settings_to_stream(const QString& n, QIODevice& stream)
{
    holder(n).save_print_settings_to_stream(stream);
}

void MorvalenDefaultPrinter::save_print_settings_to_file(const QString& settings_name,
                                                         const QString& file_name)
{
    QBuffer block;
    block.open(QIODevice::WriteOnly);
    save_print_settings_to_stream(settings_name, block);
    if (!replaceFile(file_name, block.data()))
        throw AppError(
            QStringLiteral("Cannot create file \"%1\".").arg(QDir::toNativeSeparators(file_name)));
}

void MorvalenDefaultPrinter::read_print_settings_from_stream(const QString& n, QIODevice& stream)
{
    const QByteArray publicPart = readExactly(stream, DevMode::publicSize);
    const int index = find_printer_index(DevMode::deviceName(publicPart));
    if (DevModeEnv* existing = get_device_modes_list_item_by_name(n)) {
        // A name that already holds settings keeps them only for the same device; the saved
        // block is not applied either way.
        constexpr int nameBytes = DevMode::deviceNameUnits * 2;
        if (existing->device_mode.left(nameBytes) != publicPart.left(nameBytes))
            remove(n);
        return;
    }
    save_print_settings_as(n, index);
    if (current_device->size() != DevMode::blockSize(publicPart))
        throw AppError(QStringLiteral("Wielkość zapisanego i aktualnego bufora jest różna. "
                                      "Prawdopodobnie podmieniono sterownik drukarki."));
    stream.seek(stream.pos() - DevMode::publicSize);
    // A block of the right size may still hold values no printer has; it is refused like a block
    // of another driver, before it replaces the driver's settings.
    const QString flaw = settingsFlaw(DevMode::decode(stream.peek(current_device->size())));
    if (!flaw.isEmpty())
        throw AppError(QStringLiteral("Ustawienia drukarki zapisane w pliku są błędne: %1. Użyto "
                                      "ustawień domyślnych drukarki.")
                           .arg(flaw));
    current_device->read_print_settings_from_stream(stream);
}

void MorvalenDefaultPrinter::read_print_settings_from_file(const QString& settings_name,
                                                           const QString& file_name)
{
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(file_name, file);
    read_print_settings_from_stream(settings_name, file);
}

void MorvalenDefaultPrinter::save_all_print_settings_to_file(const QString& file_name)
{
    QFile file(file_name);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        throw cannotOpen(file_name, file);
    QByteArray count(4, '\0');
    qToLittleEndian<qint32>(qint32(device_modes_list.size()), count.data());
    writeAll(file, count);
    for (const DeviceMode& entry : device_modes_list) {
        writeAll(file, nameField(entry.name));
        entry.env->save_print_settings_to_stream(file);
    }
}

void MorvalenDefaultPrinter::read_all_print_settings_from_file(const QString& file_name)
{
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(file_name, file);
    const qint32 count = qFromLittleEndian<qint32>(readExactly(file, 4).constData());
    for (qint32 i = 0; i < count; ++i) {
        const QString name = nameOf(readExactly(file, nameFieldBytes));
        read_print_settings_from_stream(name, file);
    }
}

int MorvalenDefaultPrinter::find_printer_index(const QString& deviceName)
{
    const QStringList names = printers();
    for (int i = 0; i < names.size(); ++i) {
        const QString name = names[i].section(QStringLiteral(" on "), 0, 0);
        if (name.startsWith(deviceName))
            return i;
    }
    throw AppError(QStringLiteral("Nazwa drukarki zapisanej w pliku nie występuje w systemie"));
}

void reset_printer_device_mode(Printer& printer)
{
    const Printer::Device current = printer.currentDevice();
    printer.setDevice(current.device, current.driver, current.port, std::nullopt);
}
