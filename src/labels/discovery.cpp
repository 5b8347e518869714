#include "labels/discovery.h"

#include "platform/files/profilefile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString defaultIniName = QStringLiteral("zelk_nal.ini");
const QString defaultBufferName = QStringLiteral("naklejka.dat");
constexpr QStringView executableFolderMark = u"%INI%";

// The host system's INI files in the order they are tried, each with the spellings it is
// looked for under. The host names its main file "Zelk.ini" and opens it as "zelk.ini", which
// on a case-sensitive file system may be two names.
const QList<QStringList> hostFiles = {
    {QStringLiteral("Zelk.ini"), QStringLiteral("zelk.ini")},
    {QStringLiteral("zelk_tcp.ini")},
    {QStringLiteral("zelk-klv.ini")},
    {QStringLiteral("kalvinor_tcp.ini")},
};

QString withSeparator(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString existingFile(const QString& folder, const QStringList& spellings)
{
    for (const QString& name : spellings)
        if (QFileInfo(folder + name).isFile())
            return folder + name;
    return {};
}

struct BufferLocation {
    QString fileName;
    QString folder;
};

BufferLocation readLocation(const ProfileFile& file, QStringView folderSection,
                            const QString& defaultFolder)
{
    return {file.readString(BufferKeys::section, BufferKeys::fileName, defaultBufferName),
            file.readString(folderSection, BufferKeys::folder, defaultFolder)};
}

} // namespace

PathParts splitPath(const QString& path)
{
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    return {path.left(nameStart), path.sliced(nameStart)};
}

Paths locateSettingsFile(const QString& executableDir, const QStringList& arguments)
{
    Paths paths;
    paths.CurrentPath = withSeparator(QDir(executableDir).absolutePath());
    if (arguments.isEmpty()) {
        paths.LocalPath = paths.CurrentPath;
        paths.IniName = defaultIniName;
        return paths;
    }
    const PathParts argument = splitPath(arguments.first());
    paths.LocalPath = argument.folder;
    paths.IniName = argument.name.isEmpty() ? defaultIniName : argument.name;
    return paths;
}

void locateBuffer(Paths& paths, const ProfileFile& settingsFile)
{
    const QString defaultFolder = paths.CurrentPath + QStringLiteral("temp/");
    BufferLocation location;
    if (settingsFile.exists())
        location = readLocation(settingsFile, BufferKeys::section, defaultFolder);
    // A host file whose folder is present but empty still gives its file name.
    for (const QStringList& spellings : hostFiles) {
        if (!location.folder.isEmpty())
            break;
        const QString hostFile = existingFile(paths.LocalPath, spellings);
        if (!hostFile.isEmpty())
            location =
                readLocation(ProfileFile(hostFile), BufferKeys::hostFolderSection, defaultFolder);
    }
    if (location.folder.startsWith(executableFolderMark))
        location.folder = paths.CurrentPath + location.folder.sliced(executableFolderMark.size());
    if (location.folder.isEmpty())
        location = readLocation(settingsFile, BufferKeys::section, defaultFolder);
    paths.FilePath = location.folder;
    paths.NazwaPliku = location.folder + location.fileName;
}
