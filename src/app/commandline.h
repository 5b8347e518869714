#pragma once

#include <QStringList>

class QCoreApplication;

struct CommandLine {
    bool close = false;      // send the close request to the running copy
    bool printQueue = false; // print the full sheets waiting and end, without a window
    QStringList arguments;   // the optional settings file or folder
};

// Parses the program's arguments; --help and --version print and exit.
CommandLine parseCommandLine(const QCoreApplication& app);
