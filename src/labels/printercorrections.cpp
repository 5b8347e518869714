#include "labels/printercorrections.h"

#include "platform/files/profilefile.h"
#include "platform/rounding.h"

#include <QRegularExpression>

namespace {

constexpr QStringView section = u"Korekta Drukarki";

// `text` as a whole number of `units` per unit, when it is a number with a dot for its decimal
// separator that lies within `least` and `most` such units.
std::optional<int> fixedPoint(const QString& text, int units, int least, int most)
{
    bool number = false;
    const double value = text.toDouble(&number);
    if (!number)
        return std::nullopt;
    const int fixed = roundHalfEven(value * units);
    if (fixed < least || fixed > most)
        return std::nullopt;
    return fixed;
}

} // namespace

std::optional<PrinterCorrection> parseCorrection(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList fields = text.trimmed().split(blanks, Qt::SkipEmptyParts);
    if (fields.size() != 2 && fields.size() != 4)
        return std::nullopt;
    using namespace CorrectionLimits;
    const auto shiftOf = [](const QString& field) { return fixedPoint(field, 10, -shift, shift); };
    const auto scaleOf = [](const QString& field) {
        return fixedPoint(field, 100, smallest, largest);
    };
    const std::optional<int> right = shiftOf(fields[0]);
    const std::optional<int> down = shiftOf(fields[1]);
    const std::optional<int> scaleX = fields.size() == 4 ? scaleOf(fields[2]) : 10000;
    const std::optional<int> scaleY = fields.size() == 4 ? scaleOf(fields[3]) : 10000;
    if (!right || !down || !scaleX || !scaleY)
        return std::nullopt;
    return PrinterCorrection{*right, *down, *scaleX, *scaleY};
}

QString correctionText(const PrinterCorrection& correction)
{
    QString text = QStringLiteral("%1 %2").arg(correction.right / 10.0).arg(correction.down / 10.0);
    if (correction.scaleX != 10000 || correction.scaleY != 10000)
        text +=
            QStringLiteral(" %1 %2").arg(correction.scaleX / 100.0).arg(correction.scaleY / 100.0);
    return text;
}

PrinterCorrection correctionOf(const PrinterCorrections& corrections, const QString& printer)
{
    for (auto entry = corrections.begin(); entry != corrections.end(); ++entry) {
        if (entry.key().compare(printer, Qt::CaseInsensitive) == 0)
            return entry.value();
    }
    return {};
}

PrinterCorrections readCorrections(const ProfileFile& file, QStringList& warnings)
{
    PrinterCorrections corrections;
    for (const QString& printer : file.keys(section)) {
        const QString text = file.readString(section, printer);
        if (const std::optional<PrinterCorrection> correction = parseCorrection(text))
            corrections.insert(printer, *correction);
        else
            warnings << QStringLiteral("Korekta drukarki „%1” w sekcji [%2] („%3”) nie ma postaci "
                                       "„DX DY [SX SY]” w granicach ±10 mm i ±2 % - pominięto ją.")
                            .arg(printer, section, text);
    }
    return corrections;
}

void writeCorrections(ProfileFile& file, const PrinterCorrections& corrections)
{
    for (auto entry = corrections.begin(); entry != corrections.end(); ++entry)
        file.writeString(section, entry.key(), correctionText(entry.value()));
}
