#include "labels/settingsfile.h"

#include "labels/discovery.h"
#include "labels/settingranges.h"
#include "labels/stocksettings.h"
#include "platform/apperror.h"
#include "platform/files/profilefile.h"
#include "platform/integertext.h"

#include <algorithm>
#include <variant>

namespace {

using Field = std::variant<int Settings::*, bool Settings::*, QString Settings::*>;

struct Key {
    QStringView section;
    QStringView name;
    Field field;
    Range range = {}; // numbers only
};

// The keys that hold one setting each, in the order they are written.
const Key settingKeys[] = {
    {u"Marginesy", u"Górny", &Settings::MargGI, SheetRanges::offset},
    {u"Marginesy", u"Lewy", &Settings::MargLI, SheetRanges::offset},
    {u"Marginesy", u"Między Nalepkami Pionowy", &Settings::MargMII, SheetRanges::gap},
    {u"Marginesy", u"Między Nalepkami Poziomy", &Settings::MargMOI, SheetRanges::gap},
    {u"Wymiary Nalepki", u"Wysokość", &Settings::WysNalI, SheetRanges::labelHeight},
    {u"Wymiary Nalepki", u"Szerokość", &Settings::SzerNalI, SheetRanges::labelWidth},
    {u"Wymiary Strony", u"Ilość Kolumn", &Settings::IlKol, SheetRanges::columns},
    {u"Wymiary Strony", u"Ilość Rzędów", &Settings::IlWie, SheetRanges::rows},
    {u"Wzorce", u"Identyfikator", &Settings::WzorIdS},
    {u"Sposób Wydruku", u"Bez Wyświetlania", &Settings::BezWyswB},
    {u"Wygląd Nalepki", u"Bez Ramki", &Settings::BezRamkiB},
    {u"Wygląd Nalepki", u"Bez Nazwy", &Settings::BezNazwyB},
    {u"Wygląd Nalepki", u"Bez Sygnatury", &Settings::BezSygnB},
    {u"Wygląd Nalepki", u"Z Logo Biblioteki", &Settings::ZLogoB},
    {u"Wygląd Nalepki", u"Ścieżka do Logo", &Settings::Path},
    {u"Wygląd Nalepki", u"Szerokość Kodu Kreskowego", &Settings::SzerKKI, {20, 99}},
};

struct FontSection {
    QStringView section;
    LabelFont Settings::*font;
};

const FontSection fontSections[] = {
    {u"Nazwa Biblioteki", &Settings::NFont},
    {u"Sygnatura", &Settings::SFont},
    {u"Identyfikator", &Settings::IFont},
};

namespace FontKeys {
constexpr QStringView name = u"Nazwa Czcionki";
constexpr QStringView size = u"Wielkosc Czcionki";
constexpr QStringView charset = u"Skrypt";
constexpr QStringView underline = u"Podkreślenie";
constexpr QStringView bold = u"Pogrubienie";
constexpr QStringView italic = u"Pochylenie";
} // namespace FontKeys

// The sizes Qt's font dialog accepts.
constexpr Range fontSizeRange{1, 512};

// Written when a print run or a click on the preview moves it, never by the settings dialog.
constexpr QStringView firstFreeSection = u"Sposób Wydruku";
constexpr QStringView firstFreeKey = u"Pierwsza Wolna";

constexpr QStringView utf8Key = u"utf8";
constexpr QStringView printerSection = u"DRUKARKA";
constexpr QStringView printerKey = u"nazwa";
// Written by the installation, never by the program.
constexpr QStringView installationSection = u"Instalacja";
constexpr QStringView nameLine1Key = u"Nazwa 1";
constexpr QStringView nameLine2Key = u"Nazwa 2";

int readValue(const ProfileFile& file, const Key& key, int fallback)
{
    return file.readInteger(key.section, key.name, fallback);
}

bool readValue(const ProfileFile& file, const Key& key, bool fallback)
{
    return file.readBool(key.section, key.name, fallback);
}

QString readValue(const ProfileFile& file, const Key& key, const QString& fallback)
{
    return file.readString(key.section, key.name, fallback);
}

void writeValue(ProfileFile& file, const Key& key, int value)
{
    file.writeInteger(key.section, key.name, value);
}

void writeValue(ProfileFile& file, const Key& key, bool value)
{
    file.writeBool(key.section, key.name, value);
}

void writeValue(ProfileFile& file, const Key& key, const QString& value)
{
    file.writeString(key.section, key.name, value);
}

// A number outside its range is replaced by `used`, and the user is told which key held what.
int replacedOutsideRange(int value, Range range, int used, QStringView section, QStringView key,
                         QStringList& messages)
{
    if (value >= range.min && value <= range.max)
        return value;
    messages << QStringLiteral("Wartość %1 klucza „%2” w sekcji [%3] jest spoza zakresu od %4 do "
                               "%5 - użyto %6.")
                    .arg(value)
                    .arg(key, section)
                    .arg(range.min)
                    .arg(range.max)
                    .arg(used);
    return used;
}

// A number outside its range is brought into it.
int intoRange(int value, Range range, QStringView section, QStringView key, QStringList& messages)
{
    return replacedOutsideRange(value, range, std::clamp(value, range.min, range.max), section, key,
                                messages);
}

// Size and character set are text converted to a whole number, so a bad value is an error
// rather than a silent default. A size outside the font dialog's range is brought into it.
LabelFont readFont(const ProfileFile& file, QStringView section, QStringList& messages)
{
    LabelFont font;
    font.name = file.readString(section, FontKeys::name, font.name);
    font.size = toInteger(file.readString(section, FontKeys::size, QString::number(font.size)));
    font.charset =
        toInteger(file.readString(section, FontKeys::charset, QString::number(font.charset)));
    if (font.charset < 0 || font.charset > 255)
        throw AppError(StandardErrors::rangeCheck());
    font.underline = file.readBool(section, FontKeys::underline, false);
    font.bold = file.readBool(section, FontKeys::bold, false);
    font.italic = file.readBool(section, FontKeys::italic, false);
    font.size = intoRange(font.size, fontSizeRange, section, FontKeys::size, messages);
    return font;
}

void writeFont(ProfileFile& file, QStringView section, const LabelFont& font)
{
    file.writeString(section, FontKeys::name, font.name);
    file.writeInteger(section, FontKeys::size, font.size);
    file.writeInteger(section, FontKeys::charset, font.charset);
    file.writeBool(section, FontKeys::underline, font.underline);
    file.writeBool(section, FontKeys::bold, font.bold);
    file.writeBool(section, FontKeys::italic, font.italic);
}

} // namespace

SettingsReading readSettings(const ProfileFile& file)
{
    SettingsReading reading;
    Settings& settings = reading.settings;
    settings.UTF8Encoding = file.readBool(BufferKeys::section, utf8Key, settings.UTF8Encoding);
    for (const Key& key : settingKeys)
        std::visit([&](auto field) { settings.*field = readValue(file, key, settings.*field); },
                   key.field);
    for (const Key& key : settingKeys) {
        if (const auto* number = std::get_if<int Settings::*>(&key.field)) {
            int& value = settings.*(*number);
            value = intoRange(value, key.range, key.section, key.name, reading.warnings);
        }
    }
    for (const auto& [section, font] : fontSections) {
        try {
            settings.*font = readFont(file, section, reading.warnings);
        } catch (const AppError& error) {
            reading.errors << error.text();
        }
    }
    // A place off the sheet belongs to a sheet of another size: the sheet in the printer is new.
    settings.PierwszaWolna = replacedOutsideRange(
        file.readInteger(firstFreeSection, firstFreeKey, 1), {1, settings.labelsPerSheet()}, 1,
        firstFreeSection, firstFreeKey, reading.warnings);
    settings.stock = readStock(file, settings, reading.warnings);
    settings.corrections = readCorrections(file, reading.warnings);
    settings.PrinterName = file.readString(printerSection, printerKey).trimmed();
    settings.NazBib1 = file.readString(installationSection, nameLine1Key);
    settings.NazBib2 = file.readString(installationSection, nameLine2Key);
    return reading;
}

void writeSettings(const QString& fileName, const Settings& settings, const QString& bufferFile,
                   bool utf8)
{
    ProfileFile file(fileName);
    for (const Key& key : settingKeys)
        std::visit([&](auto field) { writeValue(file, key, settings.*field); }, key.field);
    for (const auto& [section, font] : fontSections)
        writeFont(file, section, settings.*font);
    const PathParts buffer = splitPath(bufferFile);
    file.writeString(BufferKeys::section, BufferKeys::fileName, buffer.name);
    file.writeString(BufferKeys::section, BufferKeys::folder, buffer.folder);
    file.writeBool(BufferKeys::section, utf8Key, utf8);
    file.writeString(printerSection, printerKey, settings.PrinterName);
    writeStock(file, settings.stock);
    writeCorrections(file, settings.corrections);
    file.save();
}

void writeFirstFree(const QString& fileName, int place)
{
    ProfileFile file(fileName);
    file.writeInteger(firstFreeSection, firstFreeKey, place);
    file.save();
}

void writeStockSettings(const QString& fileName, const LabelStock& stock)
{
    ProfileFile file(fileName);
    Settings settings = readSettings(file).settings;
    const bool newSheet = settings.stock != stock;
    useStock(settings, stock);
    int Settings::*const sheetFields[] = {
        &Settings::MargGI,  &Settings::MargLI,   &Settings::MargMII, &Settings::MargMOI,
        &Settings::WysNalI, &Settings::SzerNalI, &Settings::IlKol,   &Settings::IlWie};
    for (const Key& key : settingKeys) {
        const auto* number = std::get_if<int Settings::*>(&key.field);
        if (number && std::find(std::begin(sheetFields), std::end(sheetFields), *number) !=
                          std::end(sheetFields))
            writeValue(file, key, settings.*(*number));
    }
    writeStock(file, settings.stock);
    if (newSheet)
        file.writeInteger(firstFreeSection, firstFreeKey, 1);
    file.save();
}
