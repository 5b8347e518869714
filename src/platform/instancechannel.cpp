#include "platform/instancechannel.h"

#include <fcntl.h>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char kLockName[] = "zelk_nal.lock";
const char kSocketName[] = "zelk_nal.socket";
const QByteArray kCloseRequest = "close\n";
const QByteArray kClosedAnswer = "closed\n";
const QByteArray kRefusedAnswer = "refused\n";
constexpr int kTimeoutMs = 30000;

} // namespace

InstanceChannel::InstanceChannel(QString directory, QObject* parent)
    : QObject(parent)
    , m_directory(std::move(directory))
{
}

InstanceChannel::~InstanceChannel()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString InstanceChannel::defaultDirectory()
{
    // Qt creates the runtime folder with owner-only permissions when it is missing.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

bool InstanceChannel::tryLock()
{
    QDir().mkpath(m_directory);
    const QByteArray path = QFile::encodeName(QDir(m_directory).filePath(kLockName));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // without a lock file the window-title test alone decides
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

bool InstanceChannel::listen(std::function<bool()> closeNow)
{
    m_closeNow = std::move(closeNow);
    const QString path = QDir(m_directory).filePath(kSocketName);
    QLocalServer::removeServer(path); // a socket left by a copy that died; we hold the lock
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::serveConnection);
    return m_server->listen(path);
}

void InstanceChannel::serveConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const bool close = socket->readLine() == kCloseRequest && m_closeNow && m_closeNow();
            socket->write(close ? kClosedAnswer : kRefusedAnswer);
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

InstanceChannel::CloseResult InstanceChannel::requestClose(const QString& directory)
{
    QLocalSocket socket;
    socket.connectToServer(QDir(directory).filePath(kSocketName));
    if (!socket.waitForConnected(kTimeoutMs))
        return CloseResult::NotRunning;
    socket.write(kCloseRequest);
    socket.flush();
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(kTimeoutMs))
        answer += socket.readAll();
    return answer == kClosedAnswer ? CloseResult::Closed : CloseResult::Refused;
}
