#include "platform/instancechannel.h"

#include "platform/apperror.h"
#include "platform/userfolder.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

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

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::defaultDirectory()
{
    return UserFolder::forInstanceChannel();
}

bool InstanceChannel::tryLock()
{
    return m_lock.tryLock(QDir(m_directory).filePath(kLockName), 0600);
}

void InstanceChannel::listen(std::function<bool()> closeNow)
{
    m_closeNow = std::move(closeNow);
    const QString path = QDir(m_directory).filePath(kSocketName);
    QLocalServer::removeServer(path); // a socket left by a copy that died; we hold the lock
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::serveConnection);
    if (!m_server->listen(path))
        throw AppError(QStringLiteral("Nie można przyjmować poleceń na gnieździe %1: %2.")
                           .arg(path, m_server->errorString()));
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
