#include "labels/stocksettings.h"

#include "labels/settingranges.h"
#include "platform/files/profilefile.h"

#include <tuple>
#include <variant>

namespace {

constexpr QStringView section = u"Arkusz Naklejek";

struct StockKey {
    QStringView name;
    std::variant<QString LabelStock::*, int LabelStock::*> field;
};

const StockKey stockKeys[] = {
    {u"Producent", &LabelStock::maker},
    {u"Symbol", &LabelStock::part},
    {u"Szerokość", &LabelStock::width},
    {u"Wysokość", &LabelStock::height},
    {u"Lewy", &LabelStock::left},
    {u"Górny", &LabelStock::top},
    {u"Skok Poziomy", &LabelStock::columnPitch},
    {u"Skok Pionowy", &LabelStock::rowPitch},
    {u"Kolumny", &LabelStock::columns},
    {u"Wiersze", &LabelStock::rows},
    {u"Papier", &LabelStock::paper},
    {u"Szerokość Papieru", &LabelStock::paperWidth},
    {u"Wysokość Papieru", &LabelStock::paperHeight},
};

// The sheet's whole millimetres nearest to the stock's lengths, within their ranges, and its grid.
Settings sheetOf(Settings settings, const LabelStock& stock)
{
    const auto whole = [](Range range, int hundredths) {
        return range.clamped(nearestWholeMillimetres(hundredths));
    };
    settings.SzerNalI = whole(SheetRanges::labelWidth, stock.width);
    settings.WysNalI = whole(SheetRanges::labelHeight, stock.height);
    settings.MargLI = whole(SheetRanges::offset, stock.left);
    settings.MargGI = whole(SheetRanges::offset, stock.top);
    settings.MargMII = whole(SheetRanges::gap, stock.columnPitch - stock.width);
    settings.MargMOI = whole(SheetRanges::gap, stock.rowPitch - stock.height);
    settings.IlKol = stock.columns;
    settings.IlWie = stock.rows;
    return settings;
}

bool sameSheet(const Settings& a, const Settings& b)
{
    const auto sheet = [](const Settings& s) {
        return std::tie(s.SzerNalI, s.WysNalI, s.MargLI, s.MargGI, s.MargMII, s.MargMOI, s.IlKol,
                        s.IlWie);
    };
    return sheet(a) == sheet(b);
}

} // namespace

void useStock(Settings& settings, const LabelStock& stock)
{
    settings = sheetOf(settings, stock);
    settings.stock = stock;
}

std::optional<LabelStock> readStock(const ProfileFile& file, const Settings& read,
                                    QStringList& warnings)
{
    LabelStock stock;
    for (const auto& [name, field] : stockKeys) {
        if (const auto* text = std::get_if<QString LabelStock::*>(&field))
            stock.*(*text) = file.readString(section, name);
        else
            stock.*std::get<int LabelStock::*>(field) = file.readInteger(section, name, 0);
    }
    if (stock.part.isEmpty())
        return std::nullopt;
    if (!stock.printable()) {
        warnings << QStringLiteral("Arkusz naklejek %1 w sekcji [%2] jest opisany niepełnie albo "
                                   "błędnie - obowiązują wymiary naklejek w milimetrach.")
                        .arg(stock.name(), section);
        return std::nullopt;
    }
    if (!sameSheet(sheetOf(read, stock), read)) {
        warnings << QStringLiteral("Wymiary naklejek w ustawieniach zmieniono bez arkusza %1 - "
                                   "obowiązują wymiary w milimetrach.")
                        .arg(stock.name());
        return std::nullopt;
    }
    return stock;
}

void writeStock(ProfileFile& file, const std::optional<LabelStock>& stock)
{
    if (!stock && file.readString(section, u"Symbol").isEmpty())
        return; // the file holds none: it stays as the settings without a stock have it
    for (const auto& [name, field] : stockKeys) {
        QString value;
        if (stock) {
            if (const auto* text = std::get_if<QString LabelStock::*>(&field))
                value = (*stock).*(*text);
            else
                value = QString::number((*stock).*std::get<int LabelStock::*>(field));
        }
        file.writeString(section, name, value);
    }
}
