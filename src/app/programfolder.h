#pragma once

#include <QString>

// The folder the program keeps as its own: the default settings file, the default buffer
// folder "temp/" with the saved queue, and the printer settings. A copy run from where it was
// built or unpacked keeps them beside itself. An installed copy (its desktop entry lies in
// ../share/applications) sits in a system folder that every user shares and only the package
// manager writes, so it keeps them in the user's data folder, made with its "temp/" on first
// use.
QString programFolder(const QString& executableDir, const QString& userDataDir);

// The same for this process: its executable's folder and ~/.local/share/zelk_nal.
QString programFolder();

// Which folder programFolder() is for this process, without making anything.
QString programFolderPath();
