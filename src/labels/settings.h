#pragma once

#include "labels/labelstock.h"
#include "labels/printercorrections.h"

#include <optional>
#include <QFont>
#include <QString>

// One of the three label fonts. The character-set number (0..255) means nothing to Qt, but it
// is read, kept and written back with the other settings.
struct LabelFont {
    QString name = QStringLiteral("Courier");
    int size = 14; // points
    int charset = 238;
    bool underline = false;
    bool bold = false;
    bool italic = false;

    QFont toQFont() const;
    friend bool operator==(const LabelFont&, const LabelFont&) = default;
};

// Where the program finds its files.
struct Paths {
    QString CurrentPath; // folder of the executable, with its trailing separator
    QString LocalPath;   // folder of the settings file
    QString IniName;     // name of the settings file
    QString FilePath;    // buffer folder; the saved-queue file lies here too
    QString NazwaPliku;  // full name of the buffer file

    QString settingsFile() const { return LocalPath + IniName; }
    friend bool operator==(const Paths&, const Paths&) = default;
};

// The label settings as the settings file holds them; lengths in whole millimetres.
struct Settings {
    int MargGI = 5;   // top offset of the first label
    int MargLI = 3;   // left offset of the first label
    int MargMOI = 7;  // gap between rows
    int MargMII = 9;  // gap between columns
    int WysNalI = 30; // label height
    int SzerNalI = 61;
    int IlKol = 3; // columns per sheet
    int IlWie = 8; // rows per sheet
    int SzerKKI = 48;
    bool BezWyswB = false; // print full sheets without preview
    // The first free place of the sheet in the printer, 1 … IlKol × IlWie: a print run's first
    // sheet starts there.
    int PierwszaWolna = 1;
    bool BezRamkiB = false;
    bool BezNazwyB = false;
    bool BezSygnB = false;
    bool ZLogoB = false;
    bool UTF8Encoding = true;
    QString WzorIdS = QStringLiteral("999-999999-99-9");
    QString Path; // logo bitmap
    QString PrinterName;
    LabelFont NFont; // institution name
    LabelFont SFont; // call number
    LabelFont IFont; // identifier text
    // The institution's name lines, supplied by the installation.
    QString NazBib1;
    QString NazBib2;
    // The label stock chosen from the catalogue: its labels stand on paper where its maker put
    // them. The whole millimetres above hold its nearest values.
    std::optional<LabelStock> stock;
    PrinterCorrections corrections;

    int labelsPerSheet() const { return IlKol * IlWie; }
    // The places of the sheet in the printer taken already: those before the first free one,
    // none when that lies off a sheet of the current size.
    int usedPlaces() const
    {
        return PierwszaWolna >= 1 && PierwszaWolna <= labelsPerSheet() ? PierwszaWolna - 1 : 0;
    }
    friend bool operator==(const Settings&, const Settings&) = default;
};
