#include "app/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString programFolder(const QString& executableDir, const QString& userDataDir)
{
    const QString desktopEntry =
        executableDir + QStringLiteral("/../share/applications/zelk_nal.desktop");
    if (!QFileInfo::exists(desktopEntry))
        return executableDir;
    QDir().mkpath(userDataDir + QStringLiteral("/temp"));
    return userDataDir;
}

QString programFolder()
{
    return programFolder(QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
