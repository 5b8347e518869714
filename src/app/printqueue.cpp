#include "app/printqueue.h"

#include "app/commandline.h"
#include "app/exitcodes.h"
#include "app/historycommand.h"
#include "app/programfolder.h"
#include "labels/labelprinter.h"
#include "labels/polishcount.h"
#include "platform/desktop/stderrdialogs.h"
#include "platform/errorguard.h"
#include "platform/files/instancechannel.h"
#include "platform/printing/cupsprinterbackend.h"
#include "platform/version.h"

#include <cstdio>
#include <functional>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

// The run shows nothing, so it needs no display.
void useOffscreenPlatform()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The reports of steps whose run goes on as well without them: warnings, which leave the exit
// code alone, unlike every other report.
class Warnings {
public:
    Warnings(const StderrDialogs& dialogs, const ErrorGuard& guard)
        : m_dialogs(dialogs)
        , m_guard(guard)
    {
    }

    // Runs `step`; its reports are warnings if it completes, or in any case with `failureToo`.
    // Returns whether it completed.
    bool count(const std::function<void()>& step, bool failureToo)
    {
        const int before = m_dialogs.faultCount();
        const bool completed = m_guard.run(step);
        if (completed || failureToo)
            m_count += m_dialogs.faultCount() - before;
        return completed;
    }

    // No report but warnings.
    bool onlyWarnings() const { return m_dialogs.faultCount() == m_count; }

private:
    const StderrDialogs& m_dialogs;
    const ErrorGuard& m_guard;
    int m_count = 0;
};

// What a tick of the timer does when printing without preview: the sheets that the waiting
// labels fill are printed in one run, without questions, and taken off the queue; with
// `partial` the labels left over follow on a last sheet. Returns how many labels were printed.
qsizetype printSheets(LabelPrinter& labels, bool partial, Warnings& warnings)
{
    labels.settings.BezWyswB = true; // for this run only; the settings file is not written
    labels.printPartialSheet = partial;
    const qsizetype waiting = labels.queue.ListaLini.size();
    if (waiting < labels.freePlaces() && !(partial && waiting > 0))
        return 0;
    // A missing logo is reported, and the labels print with the name instead.
    if (!warnings.count([&labels] { labels.ParametryNalepki(); }, false))
        return 0;
    labels.guard().run([&labels] {
        labels.RysujNal(false);
        labels.DrukujStrone(int(labels.queue.ListaLini.size()) - 1, false);
    });
    return waiting - labels.queue.ListaLini.size();
}

// The first free place the command line names, kept for later runs. False when it lies off
// the sheet or cannot be kept.
bool useStartPlace(LabelPrinter& labels, int place)
{
    const int places = labels.settings.labelsPerSheet();
    if (place > places) {
        std::fprintf(stderr, "zelk_nal: --start %d: arkusz ma %s.\n", place,
                     qUtf8Printable(countOf(places, u"miejsce", u"miejsca", u"miejsc")));
        return false;
    }
    return labels.guard().run([&labels, place] { labels.setFirstFree(place); });
}

// A printer named in the settings that is not installed, or a print scheduler that is down,
// would send the sheets to the default printer unnoticed: the run prints nothing instead.
bool namedPrinterInstalled(LabelPrinter& labels)
{
    const QString& named = labels.settings.PrinterName;
    if (named.isEmpty() || labels.printer().printers().contains(named))
        return true;
    std::fprintf(stderr,
                 "zelk_nal: drukarka „%s” wskazana w ustawieniach ([DRUKARKA] nazwa) nie jest "
                 "zainstalowana albo usługa drukowania (CUPS) nie działa; naklejki pozostają w "
                 "kolejce.\n",
                 qUtf8Printable(named));
    return false;
}

// Where the printed sheets went: the PDF files that stand complete, or the printer.
void sayWherePrinted(LabelPrinter& labels, const CupsPrinterBackend& printers)
{
    if (labels.printerInUse() != CupsPrinterBackend::filePrinterName()) {
        std::printf("Arkusze wysłano do drukarki %s.\n", qUtf8Printable(labels.printerInUse()));
        return;
    }
    std::printf("Arkusze zapisano w plikach:\n");
    for (const QString& file : printers.writtenFiles())
        if (QFileInfo::exists(file))
            std::printf("  %s\n", qUtf8Printable(file));
}

// `--reprint N` without a running copy: sheet N of the history, printed again as the timer
// prints without preview; the queue stays as it is.
int reprintAlone(LabelPrinter& labels, const CupsPrinterBackend& printers, const Warnings& warnings,
                 int number)
{
    const std::optional<PrintedSheet> chosen = historySheet(labels, number);
    if (!chosen || !namedPrinterInstalled(labels))
        return kFailed;
    int printed = 0;
    labels.guard().run([&] { printed = labels.reprint({*chosen}); });
    std::printf("Wydrukowane ponownie naklejki: %d, kolejka się nie zmieniła.\n", printed);
    if (printed > 0)
        sayWherePrinted(labels, printers);
    return printed == chosen->sheet.labels.size() && warnings.onlyWarnings() ? 0 : kFailed;
}

} // namespace

int runPrintQueue(int argc, char** argv)
{
    useOffscreenPlatform();
    StderrDialogs dialogs;
    const ErrorGuard guard(dialogs, QString());
    QString channelFolder;
    if (!guard.run([&] { channelFolder = InstanceChannel::defaultDirectory(); }))
        return kFailed;
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("zelk_nal"));
    QGuiApplication::setApplicationVersion(programVersionText());
    const CommandLine commandLine = parseCommandLine(app);

    // The running copy owns the queue and the buffer: this run must not take them.
    InstanceChannel channel(channelFolder);
    bool locked = false;
    if (!guard.run([&] { locked = channel.tryLock(); }))
        return kFailed;
    if (!locked && (commandLine.history || commandLine.reprint))
        return historyBesideRunningCopy(LabelPrinter({&dialogs, nullptr, nullptr, nullptr},
                                                     programFolder(), commandLine.arguments),
                                        commandLine.reprint, commandLine.startPlace);
    if (!locked) {
        std::fprintf(stderr, "zelk_nal: program jest już uruchomiony, wydruk kolejki jest "
                             "niemożliwy.\n");
        return kRefused;
    }

    CupsPrinterBackend printers;
    LabelPrinter labels({&dialogs, nullptr, &printers, nullptr}, programFolder(),
                        commandLine.arguments);
    const ErrorGuard& labelsGuard = labels.guard();
    labelsGuard.run([&labels] { labels.OpenNal(QString()); });
    // Saved printer settings that do not fit: the printer's own print.
    Warnings warnings(dialogs, labelsGuard);
    warnings.count([&labels] { labels.restorePrinter(); }, true);
    // Another process (of any user) works on this folder's queue: nothing was touched.
    bool queueFree = false;
    if (!labelsGuard.run([&] { queueFree = labels.queueStore.lock(labels.queueLocation()); }))
        return kFailed;
    if (!queueFree) {
        std::fprintf(stderr, "zelk_nal: wydruk kolejki jest niemożliwy.\n");
        return kRefused;
    }
    if (commandLine.startPlace && !useStartPlace(labels, *commandLine.startPlace))
        return kFailed;
    if (commandLine.history)
        return printHistoryList(labels);
    if (commandLine.reprint)
        return reprintAlone(labels, printers, warnings, *commandLine.reprint);
    const bool taken = labelsGuard.run([&labels] { labels.takeBuffer(); });
    const bool printerInstalled = namedPrinterInstalled(labels);
    const qsizetype printed =
        printerInstalled ? printSheets(labels, commandLine.partial, warnings) : 0;
    const qsizetype left = labels.queue.ListaLini.size();
    std::printf("Wydrukowane naklejki: %lld, w kolejce zostało: %lld.\n",
                static_cast<long long>(printed), static_cast<long long>(left));
    if (printed > 0)
        sayWherePrinted(labels, printers);
    const bool complete =
        taken && printerInstalled && (commandLine.partial ? left == 0 : left < labels.freePlaces());
    return complete && warnings.onlyWarnings() ? 0 : kFailed;
}
