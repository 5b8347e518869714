// One sheet of 24 labels to PDF, as whole processes that each pay their start-up: gLabels'
// batch renderer on its reference document (bench/glabels/) beside `zelk_nal --print-queue`
// printing the same identifiers and call numbers on the same sheet (A4, 3 x 8 labels of 61 x 30
// mm) to "Plik PDF". The runs alternate, so that a drift of the machine's speed touches both;
// both outputs are then decoded, to show that each printed what it should.
#include "benchmode.h"

#include <algorithm>
#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

namespace {

int runCount = 7; // 1 with --short
const QString kPeer = QStringLiteral("glabels-3-batch");

struct Command {
    QString program;
    QStringList arguments;
    QString workingDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

// Wall-clock milliseconds of one whole run; -1 when it failed.
double runMilliseconds(const Command& command)
{
    QProcess process;
    process.setWorkingDirectory(command.workingDirectory);
    process.setProcessEnvironment(command.environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(command.program, command.arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The sorted interleaved 2 of 5 symbols on the first page of `pdf`, read at 300 dpi.
QStringList decodedIdentifiers(const QString& pdf, const QString& scratch)
{
    const QString page = scratch + QStringLiteral("/page");
    output(QStringLiteral("pdftoppm"),
           {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
            QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, page});
    QStringList symbols =
        output(QStringLiteral("zbarimg"),
               {QStringLiteral("--nodbus"), QStringLiteral("-q"), QStringLiteral("--raw"),
                QStringLiteral("-Sdisable"), QStringLiteral("-Si25.enable"), page + ".png"})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    symbols.sort();
    return symbols;
}

// The peer's merge file, one "identifier,formatted identifier,call number" row per label.
QList<QStringList> mergeRows(const QString& csv)
{
    QFile file(csv);
    file.open(QIODevice::ReadOnly);
    QList<QStringList> rows;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.trimmed().isEmpty())
            rows << QString::fromUtf8(line.trimmed()).split(QLatin1Char(','));
    }
    return rows;
}

// The peer's texts are set in DejaVu Sans.
QString fontSection(const QString& section, int points)
{
    return QStringLiteral("[%1]\nNazwa Czcionki=DejaVu Sans\nWielkosc Czcionki=%2\n")
        .arg(section)
        .arg(points);
}

// Our side: a buffer folder with a settings file; each run gets the sheet's 24 lines afresh.
class OurSide {
public:
    explicit OurSide(const QList<QStringList>& rows)
    {
        for (const QStringList& row : rows)
            m_buffer += (row[0] + QLatin1Char('|') + row[2] + QLatin1Char('\n')).toUtf8();
        const QString settings =
            QStringLiteral("[NAKLEJKI]\nścieżka=%1/\n[DRUKARKA]\nnazwa=Plik PDF\n"
                           "[Instalacja]\nNazwa 1=Biblioteka Miejska w Łodzi\n")
                .arg(m_dir.path()) +
            fontSection(QStringLiteral("Nazwa Biblioteki"), 9) +
            fontSection(QStringLiteral("Sygnatura"), 12) +
            fontSection(QStringLiteral("Identyfikator"), 9);
        writeFile(settingsFile(), settings.toUtf8());
        QDir().mkpath(m_dir.filePath(QStringLiteral("run")));
        QFile::setPermissions(m_dir.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        command.program = QStringLiteral(ZELK_PROGRAM);
        command.arguments = {QStringLiteral("--print-queue"), settingsFile()};
        command.environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"),
                                   m_dir.filePath(QStringLiteral("run")));
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            command.environment.remove(QLatin1String(name));
    }

    void prepareRun() const
    {
        QDir(printFolder()).removeRecursively();
        writeFile(m_dir.filePath(QStringLiteral("naklejka.dat")), m_buffer);
    }

    QStringList printedFiles() const
    {
        const QDir folder(printFolder());
        QStringList files = folder.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        for (QString& file : files)
            file = folder.filePath(file);
        return files;
    }

    Command command;

private:
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("zelk_nal.ini")); }
    QString printFolder() const { return m_dir.filePath(QStringLiteral("wydruki")); }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    QByteArray m_buffer;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printRuns(const char* who, std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    std::printf("  %-22s %8.1f ms   (median; min %.1f, max %.1f)\n", who, runs[runs.size() / 2],
                runs.front(), runs.back());
}

// True when the output holds the sheet's identifiers.
bool printCheck(const char* who, const QStringList& decoded, const QStringList& expected)
{
    std::printf("  %-5s output: %lld interleaved 2 of 5 symbols read at 300 dpi, %s\n", who,
                static_cast<long long>(decoded.size()),
                decoded == expected ? "the sheet's 24 identifiers" : "NOT the sheet's identifiers");
    return decoded == expected;
}

} // namespace

int main(int argc, char** argv)
{
    if (shortRun(argc, argv))
        runCount = 1;
    QCoreApplication app(argc, argv);
    std::printf("bench_peer: one sheet of 24 labels to PDF, whole processes, %d runs each\n",
                runCount);
    if (QStandardPaths::findExecutable(kPeer).isEmpty()) {
        std::printf("  skipped: %s is not installed (Debian package glabels)\n",
                    qUtf8Printable(kPeer));
        return 0;
    }
    std::printf("  peer barcode: GNU Barcode backend, I25 (interleaved 2 of 5, no check digit)\n");
    QTemporaryDir peerDir;
    for (const char* name : {"sheet.glabels", "sheet.csv"})
        QFile::copy(QStringLiteral(ZELK_SOURCE_DIR "/bench/glabels/") + QLatin1String(name),
                    peerDir.filePath(QLatin1String(name)));
    const QString peerPdf = peerDir.filePath(QStringLiteral("sheet.pdf"));
    // The merge file is opened relative to the working folder.
    const Command peer{kPeer,
                       {QStringLiteral("-i"), QStringLiteral("sheet.csv"), QStringLiteral("-o"),
                        peerPdf, QStringLiteral("sheet.glabels")},
                       peerDir.path()};
    const QList<QStringList> rows = mergeRows(peerDir.filePath(QStringLiteral("sheet.csv")));
    OurSide ours(rows);

    std::vector<double> peerRuns, ourRuns, ratios;
    for (int run = -1; run < runCount; ++run) { // run -1 warms the file cache
        QFile::remove(peerPdf);
        const double peerMs = runMilliseconds(peer);
        ours.prepareRun();
        const double ourMs = runMilliseconds(ours.command);
        if (peerMs < 0 || ourMs < 0 || !QFile::exists(peerPdf) || ours.printedFiles().size() != 1) {
            std::printf("  a run failed (%s: %.0f ms, zelk_nal: %.0f ms)\n", qUtf8Printable(kPeer),
                        peerMs, ourMs);
            return 1;
        }
        if (run < 0)
            continue;
        peerRuns.push_back(peerMs);
        ourRuns.push_back(ourMs);
        ratios.push_back(peerMs / ourMs);
    }
    printRuns(qUtf8Printable(kPeer), peerRuns);
    printRuns("zelk_nal --print-queue", ourRuns);
    std::printf("  %-22s %8.1f x    (median of the pairs; aim >= 3 x)\n", "ratio peer/ours",
                median(ratios));

    QStringList expected;
    for (const QStringList& row : rows)
        expected << row[0];
    expected.sort();
    QTemporaryDir scratch;
    printCheck("peer", decodedIdentifiers(peerPdf, scratch.path()), expected);
    // Our sheet must be the sheet; the peer's is only reported.
    return printCheck("ours", decodedIdentifiers(ours.printedFiles().first(), scratch.path()),
                      expected)
               ? 0
               : 1;
}
