#pragma once

#include "platform/printing/pagesetup.h"

#include <optional>
#include <QMap>
#include <QStringList>

class ProfileFile;

// By printer name: how what that printer prints is moved and scaled on the paper.
using PrinterCorrections = QMap<QString, PrinterCorrection>;

// How far a correction may go: 10 mm either way, 2 % of the size either way.
namespace CorrectionLimits {
constexpr int shift = 100;     // tenths of a millimetre
constexpr int smallest = 9800; // hundredths of a percent
constexpr int largest = 10200;
} // namespace CorrectionLimits

// "DX DY [SX SY]": millimetres right and down, then percent of the nominal size across and down
// (100 when left out), with a dot for the decimal separator: "1.5 -0.7" moves 1.5 mm right and
// 0.7 mm up. None when the text says something else or goes beyond the limits.
std::optional<PrinterCorrection> parseCorrection(const QString& text);
QString correctionText(const PrinterCorrection& correction);

// The correction of `printer`: none for a printer the settings do not name.
PrinterCorrection correctionOf(const PrinterCorrections& corrections, const QString& printer);

// Section [Korekta Drukarki], one key per printer name. A value that is no correction is named in
// a warning and left out.
PrinterCorrections readCorrections(const ProfileFile& file, QStringList& warnings);
void writeCorrections(ProfileFile& file, const PrinterCorrections& corrections);
