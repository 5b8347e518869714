#pragma once

#include "labels/settings.h"

#include <QStringList>
#include <QStringView>

class ProfileFile;

// The keys that locate the buffer file, in the settings file and in the host system's files.
namespace BufferKeys {
inline constexpr QStringView section = u"NAKLEJKI";
inline constexpr QStringView fileName = u"Plik";
inline constexpr QStringView folder = u"ścieżka";
inline constexpr QStringView hostFolderSection = u"KOLEKCJA";
} // namespace BufferKeys

// A path cut after its last separator: the folder with its trailing separator (empty when the
// path has none), and the name (empty when the path ends with a separator).
struct PathParts {
    QString folder;
    QString name;
};
PathParts splitPath(const QString& path);

// Where the settings file is: CurrentPath is the executable's folder; the first argument, when
// given, names the settings file or (ending with a separator) the folder that holds it.
// FilePath and NazwaPliku are left empty.
Paths locateSettingsFile(const QString& executableDir, const QStringList& arguments);

// Where the buffer file is (FilePath and NazwaPliku): from the settings file, else from the
// first of the host system's INI files in LocalPath that names a folder. "%INI%" at the start of
// a folder found in either stands for the executable's folder.
void locateBuffer(Paths& paths, const ProfileFile& settingsFile);
