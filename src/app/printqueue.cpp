#include "app/printqueue.h"

#include "app/commandline.h"
#include "app/programfolder.h"
#include "main/tnal1.h"
#include "platform/cupsprinterbackend.h"
#include "platform/errorguard.h"
#include "platform/instancechannel.h"
#include "platform/stderrdialogs.h"
#include "platform/version.h"

#include <cstdio>
#include <QApplication>
#include <QLoggingCategory>

namespace {

constexpr int kFailed = 1;
constexpr int kRefused = 2;

// The run shows nothing, so it needs no display, and on the offscreen platform no tray icon
// appears either, whatever the desktop.
void useOffscreenPlatform()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Showing the tray icon there connects to a tray signal that the platform lacks, and Qt
    // would say so on standard error at every run.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.core.qobject.connect.warning=false"));
}

// The buffer joins the queue, as at every tick of the timer. False when that failed.
bool takeBuffer(TNal1& window)
{
    return window.guard().run([&window] {
        if (QueueStore::hasWaitingFiles(window.queueLocation()))
            window.OpenNal(window.paths.NazwaPliku);
    });
}

// What a tick of the timer does when printing without preview: the full sheets are printed in
// one run, without questions, and taken off the queue. Returns how many labels were printed.
qsizetype printFullSheets(TNal1& window)
{
    window.settings.BezWyswB = true; // for this run only; the settings file is not written
    const qsizetype waiting = window.queue.ListaLini.size();
    if (waiting >= window.settings.labelsPerSheet())
        window.guard().run([&window] { window.Drukujstron1Click(); });
    return waiting - window.queue.ListaLini.size();
}

// A printer named in the settings that is not installed, or a print scheduler that is down,
// would send the sheets to the default printer unnoticed: the run prints nothing instead.
bool namedPrinterInstalled(TNal1& window)
{
    const QString& named = window.settings.PrinterName;
    if (named.isEmpty() || window.printer().printers().contains(named))
        return true;
    std::fprintf(stderr,
                 "zelk_nal: drukarka „%s” wskazana w ustawieniach ([DRUKARKA] nazwa) nie jest "
                 "zainstalowana albo usługa drukowania (CUPS) nie działa; naklejki pozostają w "
                 "kolejce.\n",
                 qUtf8Printable(named));
    return false;
}

// Where the printed sheets went: the PDF files, or the printer.
void sayWherePrinted(TNal1& window, const CupsPrinterBackend& printers)
{
    if (printers.writtenFiles().isEmpty()) {
        std::printf("Arkusze wysłano do drukarki %s.\n", qUtf8Printable(window.printerInUse()));
        return;
    }
    std::printf("Arkusze zapisano w plikach:\n");
    for (const QString& file : printers.writtenFiles())
        std::printf("  %s\n", qUtf8Printable(file));
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelk_nal"));
    QApplication::setApplicationVersion(programVersionText());
    const CommandLine commandLine = parseCommandLine(app);

    // The running copy owns the queue and the buffer: this run must not take them.
    InstanceChannel channel(channelFolder);
    bool locked = false;
    if (!guard.run([&] { locked = channel.tryLock(); }))
        return kFailed;
    if (!locked) {
        std::fprintf(stderr, "zelk_nal: program jest już uruchomiony, wydruk kolejki jest "
                             "niemożliwy.\n");
        return kRefused;
    }

    CupsPrinterBackend printers;
    // No notification area is expected: the notice about a missing one concerns a desktop user.
    const Services services{&dialogs, true, &printers, nullptr};
    TNal1 window(services, programFolder(), commandLine.arguments);
    // Another process (of any user) works on this folder's queue: nothing was touched.
    bool queueFree = false;
    if (!window.guard().run([&] { queueFree = window.queueStore.lock(window.queueLocation()); }))
        return kFailed;
    if (!queueFree) {
        std::fprintf(stderr, "zelk_nal: wydruk kolejki jest niemożliwy.\n");
        return kRefused;
    }
    const bool taken = takeBuffer(window);
    const bool printerInstalled = namedPrinterInstalled(window);
    const qsizetype printed = printerInstalled ? printFullSheets(window) : 0;
    const qsizetype left = window.queue.ListaLini.size();
    std::printf("Wydrukowane naklejki: %lld, w kolejce zostało: %lld.\n",
                static_cast<long long>(printed), static_cast<long long>(left));
    if (printed > 0)
        sayWherePrinted(window, printers);
    const bool complete = taken && printerInstalled && left < window.settings.labelsPerSheet();
    return complete && dialogs.reportCount() == 0 ? 0 : kFailed;
}
