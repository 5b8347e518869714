#pragma once

#include "platform/files/instancechannel.h"

#include <initializer_list>
#include <optional>
#include <QStringList>

class QCoreApplication;

struct CommandLine {
    // The request to send to the running copy (--close, --show, --print-page, --settings).
    std::optional<InstanceChannel::Request> request;
    bool printQueue = false;    // print the full sheets waiting and end, without a window
    bool history = false;       // list the history of printed sheets
    std::optional<int> reprint; // print the sheet of this number in the history again
    QStringList arguments;      // the optional settings file or folder
    // With printQueue or reprint: the first free place for this run's first sheet (1 …), to be
    // kept.
    std::optional<int> startPlace;
    bool partial = false; // with printQueue: also the labels that do not fill a sheet
    // Write this stock ("MAKER PART") into the settings file. With --stock instead, `arguments`
    // are the words to look for in the catalogue.
    std::optional<QString> setStock;
};

// Parses the program's arguments. --help and --version print their Polish answer and exit 0; an
// unknown option prints "Nieznana opcja" with the help on standard error and exits 1.
CommandLine parseCommandLine(const QCoreApplication& app);

// Whether one of `names` stands among the arguments (before a "--"), alone or with its value
// after a "=". Read before the application object exists.
bool hasOption(int argc, char** argv, std::initializer_list<const char*> names);
