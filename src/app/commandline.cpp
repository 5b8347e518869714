#include "app/commandline.h"

#include "app/programfolder.h"
#include "labels/discovery.h"
#include "platform/version.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace {

const QString kProgram = QStringLiteral("zelk_nal");
const QString kSettingsName = QStringLiteral("SETTINGS");
constexpr qsizetype kLineWidth = 79;

// The settings argument's text names the file this copy reads without one: beside the program,
// or in the user's data folder for an installed copy.
QString settingsText()
{
    return QStringLiteral("Plik ustawień albo katalog zakończony separatorem (domyślnie %1).")
        .arg(QDir::toNativeSeparators(locateSettingsFile(programFolderPath(), {}).settingsFile()));
}

// The program's options with Polish texts; Qt's own help and version options are English.
struct ProgramOptions {
    QCommandLineOption close{QStringLiteral("close"),
                             QStringLiteral("Zamyka działający program, zapisując bufor.")};
    QCommandLineOption show{QStringLiteral("show"),
                            QStringLiteral("Pokazuje pierwszą stronę naklejek w oknie działającego "
                                           "programu.")};
    QCommandLineOption printPage{QStringLiteral("print-page"),
                                 QStringLiteral("Drukuje w działającym programie czekające "
                                                "naklejki bez pytań, jak „Drukuj stronę”.")};
    QCommandLineOption settings{QStringLiteral("settings"),
                                QStringLiteral("Otwiera okno parametrów wydruku w działającym "
                                               "programie.")};
    QCommandLineOption printQueue{
        QStringLiteral("print-queue"),
        QStringLiteral("Drukuje bez podglądu pełne strony naklejek z kolejki i bufora, zapisuje "
                       "resztę i kończy działanie.")};
    QCommandLineOption start{QStringLiteral("start"),
                             QStringLiteral("Z --print-queue lub --reprint: pierwsza strona "
                                            "wydruku zaczyna się od miejsca N arkusza; "
                                            "zapamiętuje je jako pierwsze wolne."),
                             QStringLiteral("N")};
    QCommandLineOption partial{QStringLiteral("partial"),
                               QStringLiteral("Z --print-queue: drukuje też naklejki, które nie "
                                              "wypełniają strony, i zapamiętuje, gdzie się "
                                              "skończyły.")};
    QCommandLineOption history{
        QStringLiteral("history"),
        QStringLiteral("Wypisuje historię wydruków, od najnowszego arkusza: numer, datę i godzinę, "
                       "drukarkę, liczbę naklejek, pierwszy i ostatni identyfikator.")};
    QCommandLineOption reprint{
        QStringLiteral("reprint"),
        QStringLiteral("Drukuje ponownie bez pytań arkusz o numerze N z listy --history: w "
                       "działającym programie albo, gdy nie działa, sam, jak --print-queue. "
                       "Kolejka naklejek się nie zmienia."),
        QStringLiteral("N")};
    QCommandLineOption stock{
        QStringLiteral("stock"),
        QStringLiteral("Wypisuje arkusze naklejek z katalogu (pakiet glabels-data), po jednym w "
                       "wierszu: producenta i symbol, wymiary naklejki, kolumny × wiersze, papier. "
                       "Argumenty są wtedy szukanym tekstem: zelk_nal --stock [TEKST] wypisuje "
                       "tylko pasujące arkusze.")};
    QCommandLineOption setStock{
        QStringLiteral("set-stock"),
        QStringLiteral("Zapisuje w pliku ustawień arkusz „PRODUCENT SYMBOL” z katalogu, jak "
                       "wybór w oknie parametrów, i kończy działanie. Działa od następnego "
                       "uruchomienia programu."),
        QStringLiteral("ARKUSZ")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("?"), QStringLiteral("help")},
                            QStringLiteral("Wyświetla tę pomoc.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Wyświetla wersję programu.")};

    QList<QCommandLineOption> all() const
    {
        return {close,   show,    printPage, settings, printQueue, start,  partial,
                history, reprint, stock,     setStock, help,       version};
    }

    // The option of each request to the running copy.
    QList<std::pair<const QCommandLineOption*, InstanceChannel::Request>> requests() const
    {
        using Request = InstanceChannel::Request;
        return {{&close, Request::Close},
                {&show, Request::Show},
                {&printPage, Request::PrintPage},
                {&settings, Request::Settings}};
    }
};

// Parses `arguments` (the program's name first); false when an option is unknown or misused.
bool parse(QCommandLineParser& parser, const ProgramOptions& options, const QStringList& arguments)
{
    parser.addOptions(options.all());
    parser.addPositionalArgument(kSettingsName, QString(),
                                 QLatin1Char('[') + kSettingsName + QLatin1Char(']'));
    return parser.parse(arguments);
}

QString optionNames(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    const QString value = option.valueName().isEmpty() ? QString() : u' ' + option.valueName();
    return names.join(QStringLiteral(", ")) + value;
}

// One entry of a list: the name in the first column, the text wrapped beside it.
QString helpEntry(const QString& name, const QString& text, qsizetype column)
{
    QString entry = (QStringLiteral("  ") + name + QLatin1Char(' ')).leftJustified(column);
    qsizetype lineStart = 0;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (entry.size() - lineStart + 1 + word.size() > kLineWidth) {
            entry += QLatin1Char('\n');
            lineStart = entry.size();
            entry += QString(column, QLatin1Char(' '));
        } else if (!entry.endsWith(QLatin1Char(' '))) {
            entry += QLatin1Char(' ');
        }
        entry += word;
    }
    return entry + QLatin1Char('\n');
}

QString exitSuccessText()
{
    return QStringLiteral("Polecenie wykonane; --print-queue wydrukował każdą pełną stronę (albo "
                          "żadna nie czekała). Ostrzeżenia po drodze (ustawienie sprowadzone do "
                          "zakresu, odłożone wiersze, niepasujący plik ustawień drukarki, brak "
                          "logo) są na standardowym wyjściu błędów i kodu nie zmieniają.");
}

QString exitFailureText()
{
    return QStringLiteral("Błąd: przyczyny są na standardowym wyjściu błędów, niewydrukowane "
                          "naklejki zostają w kolejce.");
}

QString exitRefusedText()
{
    return QStringLiteral("--print-queue nic nie zrobił: kolejką zajmuje się działający program "
                          "albo inny proces.");
}

QString helpText(const ProgramOptions& options)
{
    constexpr qsizetype column = 18;
    QString text = QStringLiteral("Użycie: %1 [opcje] [%2]\n"
                                  "Drukowanie naklejek z kodem kreskowym dla systemu "
                                  "bibliotecznego.\n\nOpcje:\n")
                       .arg(kProgram, kSettingsName);
    for (const QCommandLineOption& option : options.all())
        text += helpEntry(optionNames(option), option.description(), column);
    return text + QStringLiteral("\nArgumenty:\n") +
           helpEntry(kSettingsName, settingsText(), column) + QStringLiteral("\nKody wyjścia:\n") +
           helpEntry(QStringLiteral("0"), exitSuccessText(), column) +
           helpEntry(QStringLiteral("1"), exitFailureText(), column) +
           helpEntry(QStringLiteral("2"), exitRefusedText(), column);
}

[[noreturn]] void printAndExit(std::FILE* stream, const QString& text, int exitCode)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::exit(exitCode);
}

QString parseError(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty() && parser.errorText().startsWith(QLatin1String("Missing value")))
        return QStringLiteral("%1: opcja wymaga wartości.\n").arg(kProgram);
    if (unknown.isEmpty())
        return QStringLiteral("%1: opcja nie przyjmuje wartości.\n").arg(kProgram);
    const QString first = unknown.first();
    return QStringLiteral("%1: Nieznana opcja: %2%3\n")
        .arg(kProgram, first.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), first);
}

// The first request option given; none when the program is to run.
std::optional<InstanceChannel::Request> requestOf(const QCommandLineParser& parser,
                                                  const ProgramOptions& options)
{
    for (const auto& [option, request] : options.requests()) {
        if (parser.isSet(*option))
            return request;
    }
    return std::nullopt;
}

// The value of `option`, a number from 1 on; none when it is not given. Another value prints
// `complaint` and exits 1.
std::optional<int> positiveNumber(const QCommandLineParser& parser,
                                  const QCommandLineOption& option, const QString& complaint)
{
    if (!parser.isSet(option))
        return std::nullopt;
    bool whole = false;
    const int number = parser.value(option).toInt(&whole);
    if (!whole || number < 1)
        printAndExit(stderr, kProgram + QStringLiteral(": ") + complaint + u'\n', 1);
    return number;
}

} // namespace

CommandLine parseCommandLine(const QCoreApplication& app)
{
    const ProgramOptions options;
    QCommandLineParser parser;
    if (!parse(parser, options, app.arguments()))
        printAndExit(stderr, parseError(parser) + QLatin1Char('\n') + helpText(options), 1);
    if (parser.isSet(options.help))
        printAndExit(stdout, helpText(options), 0);
    if (parser.isSet(options.version))
        printAndExit(stdout, kProgram + QLatin1Char(' ') + programVersionText() + QLatin1Char('\n'),
                     0);
    CommandLine commandLine;
    commandLine.request = requestOf(parser, options);
    commandLine.printQueue = parser.isSet(options.printQueue);
    commandLine.arguments = parser.positionalArguments();
    commandLine.partial = parser.isSet(options.partial);
    commandLine.startPlace = positiveNumber(parser, options.start,
                                            QStringLiteral("--start wymaga numeru miejsca na "
                                                           "arkuszu: 1, 2, …"));
    commandLine.history = parser.isSet(options.history);
    commandLine.reprint = positiveNumber(parser, options.reprint,
                                         QStringLiteral("--reprint wymaga numeru arkusza z listy "
                                                        "--history: 1, 2, …"));
    if (parser.isSet(options.setStock))
        commandLine.setStock = parser.value(options.setStock);
    if ((commandLine.startPlace && !commandLine.printQueue && !commandLine.reprint) ||
        (commandLine.partial && !commandLine.printQueue))
        printAndExit(stderr,
                     QStringLiteral("%1: --start działa tylko z --print-queue i --reprint, "
                                    "--partial tylko z --print-queue.\n")
                         .arg(kProgram),
                     1);
    return commandLine;
}

bool hasOption(int argc, char** argv, std::initializer_list<const char*> names)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* name : names) {
            const std::size_t length = std::strlen(name);
            if (std::strncmp(argv[i], name, length) == 0 &&
                (argv[i][length] == '\0' || argv[i][length] == '='))
                return true;
        }
    }
    return false;
}
