#pragma once

#include "labels/settings.h"

#include <QStringList>

class ProfileFile;

// The settings as read from the settings file, with defaults for what it lacks, and the texts of
// the errors and warnings met on the way. A font whose size or character set is not a whole
// number, or whose character set lies outside 0..255, is an error and keeps its defaults; reading
// goes on. A number outside the range its control in the settings dialog allows (a font size: the
// font dialog's) is brought into that range, and a first free place off the sheet counts as 1;
// each is a warning naming its key and the value used.
struct SettingsReading {
    Settings settings;
    QStringList errors;
    QStringList warnings;
};

SettingsReading readSettings(const ProfileFile& file);

// Writes every setting the settings dialog edits to the settings file `fileName`, with the
// buffer file `bufferFile` (as its folder and its name) and whether the buffer is UTF-8. Other
// entries of the file stay as they are. Raises AppError "Unable to write to <fileName>".
void writeSettings(const QString& fileName, const Settings& settings, const QString& bufferFile,
                   bool utf8);

// Writes the first free place `place` to the settings file, every other line kept. Raises
// AppError "Unable to write to <fileName>".
void writeFirstFree(const QString& fileName, int place);

// Writes the label stock `stock` to the settings file `fileName`, with the sheet's keys at its
// nearest whole millimetres; a sheet that changes starts again at its first place. Other entries
// stay as they are. Raises AppError "Unable to write to <fileName>".
void writeStockSettings(const QString& fileName, const LabelStock& stock);
