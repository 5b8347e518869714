// Locating the configuration and reading the settings.
#include "main/tnal1.h"

#include <QDir>

void TNal1::loadSettings()
{
    // Not built yet: the settings file and the host INI files; the defaults stand.
    paths.CurrentPath = QDir(m_executableDir).absolutePath() + QLatin1Char('/');
    paths.LocalPath = paths.CurrentPath;
    paths.IniName = QStringLiteral("zelk_nal.ini");
    paths.FilePath = paths.CurrentPath + QStringLiteral("temp/");
    paths.NazwaPliku = paths.FilePath + QStringLiteral("naklejka.dat");
}
