#include "app/zelk_nal.h"

#include "app/commandline.h"
#include "app/onewindow.h"
#include "app/printqueue.h"
#include "app/programfolder.h"
#include "app/runtimefolder.h"
#include "app/startline.h"
#include "app/stockcommand.h"
#include "app/translation.h"
#include "dialogs/tnal2.h"
#include "dialogs/tnal4.h"
#include "labels/texts.h"
#include "platform/desktop/desktoptraypresence.h"
#include "platform/desktop/displayprobe.h"
#include "platform/desktop/qtdialogs.h"
#include "platform/desktop/sessionend.h"
#include "platform/desktop/windowtitles.h"
#include "platform/errorguard.h"
#include "platform/files/instancechannel.h"
#include "platform/printing/cupsprinterbackend.h"
#include "platform/printing/qtprintersetupdialog.h"
#include "platform/version.h"
#include "window/tnal1.h"
#include "window/windowrequests.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <QApplication>

namespace {

// The exit code of a request to the running copy; none when no copy runs and this one is to
// start and serve the request itself (all but the close request).
std::optional<int> sendRequest(InstanceChannel::Request request)
{
    switch (InstanceChannel::send(request)) {
    case InstanceChannel::Answer::Done:
        return 0;
    case InstanceChannel::Answer::Refused:
        std::fputs(request == InstanceChannel::Request::Close
                       ? "zelk_nal: program nie zgodził się na zamknięcie (nie zapisał bufora "
                         "naklejek).\n"
                       : "zelk_nal: program nie przyjął polecenia.\n",
                   stderr);
        return 1;
    case InstanceChannel::Answer::NotRunning:
        break;
    }
    if (request != InstanceChannel::Request::Close)
        return std::nullopt;
    std::fprintf(stderr, "zelk_nal: program nie jest uruchomiony.\n");
    return 1;
}

// The answers that need no display (--help, --version, an unknown option, a request to the
// running copy) come from a Qt core application, so that a display that is gone cannot end
// them. Returns the exit code, or none when the program is to run.
std::optional<int> answerWithoutDisplay(int argc, char** argv, CommandLine& commandLine)
{
    const QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelk_nal"));
    QCoreApplication::setApplicationVersion(programVersionText());
    commandLine = parseCommandLine(core);
    return commandLine.request ? sendRequest(*commandLine.request) : std::nullopt;
}

// One line on standard output, for whoever started the program from a terminal.
void sayWhatItUses(LabelPrinter& labels)
{
    std::fputs(qUtf8Printable(startLine(labels)), stdout);
    std::fflush(stdout);
}

} // namespace

int runZelkNal(int argc, char** argv)
{
    if (hasOption(argc, argv, {"--stock", "--set-stock"}))
        return runStockCommand(argc, argv);
    provideRuntimeFolder();
    if (hasOption(argc, argv, {"--print-queue", "--history", "--reprint"}))
        return runPrintQueue(argc, argv);
    CommandLine commandLine;
    if (const std::optional<int> answered = answerWithoutDisplay(argc, argv, commandLine))
        return *answered;
    if (!displayReachable()) {
        if (commandLine.request)
            std::fputs("zelk_nal: program nie jest uruchomiony.\n", stderr);
        std::fprintf(stderr,
                     "zelk_nal: brak dostępu do ekranu (%s): program z oknem nie może "
                     "działać.\n",
                     qUtf8Printable(displayVariables()));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelk_nal"));
    QApplication::setApplicationVersion(programVersionText());
    // No display name: Qt would append it to every window's caption. The desktop matches the
    // windows to the menu entry by its file name.
    QApplication::setDesktopFileName(QStringLiteral("zelk_nal"));
    // The program lives in the tray: closing a message box or hiding the window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    installPolishTranslation(app);
    // The windows are laid out for Tahoma; where it is missing, the narrower of the free faces
    // keeps their captions inside their places.
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));

    QtDialogs dialogs;
    const auto titles = makeDesktopWindowTitles();
    std::unique_ptr<InstanceChannel> channel;
    const ErrorGuard startGuard(dialogs, Texts::appTitle());
    if (!startGuard.run([&] {
            channel = std::make_unique<InstanceChannel>();
            OneWindowCheck(Texts::appTitle(), {*titles, *channel, dialogs, [] { std::exit(0); }});
        }))
        return 1;

    // The decision to end: every event loop ends, a modal dialog's too (quit() would first ask
    // the open windows to close, and a modal dialog may refuse), and no box waits any more.
    const auto endProgram = [&dialogs] {
        dialogs.stopShowing();
        QCoreApplication::exit(0);
    };
    // Requests are taken from the moment this copy holds the lock, also while a start-up
    // message waits for the user: a close request ends the start, the others wait for the
    // window, which answers them all once it exists.
    TNal1* running = nullptr;
    bool endedDuringStart = false;
    WindowRequests windowRequests;
    if (!startGuard.run([&] {
            channel->listen([&](InstanceChannel::Request request, const QStringList& arguments) {
                if (request != InstanceChannel::Request::Close)
                    return windowRequests.take(request, arguments);
                if (running) {
                    running->CloseNow();
                } else {
                    endedDuringStart = true;
                    endProgram();
                }
                return QString();
            });
        }))
        return 1;

    // The termination signals are caught from here on, so that one sent while the program starts
    // (its tray icon may already be on the desktop) ends it cleanly as soon as events flow.
    SessionEnd sessionEnd([&running] { return !running || running->CanCloseComp(); });
    QObject::connect(&sessionEnd, &SessionEnd::terminated, [&] {
        if (running) {
            running->CloseNow();
        } else {
            endedDuringStart = true;
            endProgram();
        }
    });

    CupsPrinterBackend printers;
    QtPrinterSetupDialog printerSetup(printers);
    const DesktopTrayPresence trays;
    const Services services{&dialogs, &trays, &printers, &printerSetup};
    TNal1 window(services, programFolder(), commandLine.arguments);
    if (endedDuringStart)
        return 0;
    sayWhatItUses(window.labels());
    running = &window;
    windowRequests.serveOn(window);
    // A request that started this copy is served once the first tick has taken the buffer.
    if (commandLine.request)
        QObject::connect(
            &window.Timer1, &QTimer::timeout, &windowRequests,
            [&] { windowRequests.take(*commandLine.request); }, Qt::SingleShotConnection);
    TNal4 about;

    QObject::connect(&window, &TNal1::closed, &app, endProgram, Qt::QueuedConnection);
    QObject::connect(&window, &TNal1::aboutRequested, &about, &TNal4::showAbout);
    QObject::connect(&window, &TNal1::settingsRequested, &window, [&window, &dialogs] {
        TNal2 settingsDialog(window, dialogs, &window);
        settingsDialog.exec();
    });

    // The running copy's mark for the window-title test: a top-level window that carries the
    // application title for the whole run and is never shown. The instance lock has marked
    // this copy since the test; the title follows once start-up is complete.
    QWidget titleWindow;
    titleWindow.setWindowTitle(Texts::appTitle());
    titleWindow.winId();
    return app.exec();
}
