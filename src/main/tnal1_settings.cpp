// Locating the configuration and reading the settings.
#include "main/discovery.h"
#include "main/settingsfile.h"
#include "main/tnal1.h"
#include "platform/profilefile.h"

void TNal1::loadSettings()
{
    paths = locateSettingsFile(m_executableDir, m_arguments);
    const ProfileFile settingsFile(paths.settingsFile());
    locateBuffer(paths, settingsFile);
    const SettingsReading reading = readSettings(settingsFile);
    settings = reading.settings;
    // A rejected value leaves its font at the defaults; start-up goes on.
    for (const QString& error : reading.errors)
        m_guard.report(error);
}
