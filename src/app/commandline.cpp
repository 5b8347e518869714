#include "app/commandline.h"

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
