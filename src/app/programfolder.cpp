#include "app/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool installedCopy(const QString& executableDir)
{
    return QFileInfo::exists(executableDir +
                             QStringLiteral("/../share/applications/zelk_nal.desktop"));
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

QString programFolder(const QString& executableDir, const QString& userDataDir)
{
    if (!installedCopy(executableDir))
        return executableDir;
    QDir().mkpath(userDataDir + QStringLiteral("/temp"));
    return userDataDir;
}

QString programFolder()
{
    return programFolder(QCoreApplication::applicationDirPath(), userDataFolder());
}

QString programFolderPath()
{
    const QString executableDir = QCoreApplication::applicationDirPath();
    return installedCopy(executableDir) ? userDataFolder() : executableDir;
}
