#include "platform/desktop/sessionend.h"

#include <csignal>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The self-pipe: a signal handler may only write a byte; the event loop does the rest.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void installHandlers()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

} // namespace

SessionEnd::SessionEnd(std::function<bool()> canEnd, QObject* parent)
    : QObject(parent)
    , m_canEnd(std::move(canEnd))
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &SessionEnd::commitData,
                Qt::DirectConnection);
    }
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe))
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::signalArrived);
    installHandlers();
}

SessionEnd::~SessionEnd()
{
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signal, SIG_DFL);
}

void SessionEnd::commitData(QSessionManager& manager)
{
    if (!m_canEnd())
        manager.cancel();
}

void SessionEnd::signalArrived()
{
    char byte;
    [[maybe_unused]] ssize_t read = ::read(signalPipe[0], &byte, 1);
    emit terminated();
}
