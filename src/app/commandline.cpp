#include "app/commandline.h"

#include <cstring>
#include <QCommandLineParser>
#include <QCoreApplication>

CommandLine parseCommandLine(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Drukowanie naklejek z kodem kreskowym dla systemu bibliotecznego."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption close(QStringLiteral("close"),
                                   QStringLiteral("Zamyka działający program, zapisując bufor."));
    parser.addOption(close);
    const QCommandLineOption printQueue(
        QStringLiteral("print-queue"),
        QStringLiteral("Drukuje bez podglądu pełne strony naklejek z kolejki i bufora, zapisuje "
                       "resztę i kończy działanie."));
    parser.addOption(printQueue);
    parser.addPositionalArgument(
        QStringLiteral("SETTINGS"),
        QStringLiteral("Plik ustawień albo katalog zakończony separatorem (domyślnie "
                       "zelk_nal.ini obok programu)."),
        QStringLiteral("[SETTINGS]"));
    parser.process(app);
    return {parser.isSet(close), parser.isSet(printQueue), parser.positionalArguments()};
}

bool hasOption(int argc, char** argv, std::initializer_list<const char*> names)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* name : names) {
            if (std::strcmp(argv[i], name) == 0)
                return true;
        }
    }
    return false;
}

void chooseDisplayFor(int argc, char** argv)
{
    const bool showsNothing =
        hasOption(argc, argv, {"--close", "--help", "-h", "--help-all", "--version", "-v"});
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (showsNothing && noDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
