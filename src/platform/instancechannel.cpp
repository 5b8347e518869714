#include "platform/instancechannel.h"

#include "platform/apperror.h"
#include "platform/userfolder.h"

#include <algorithm>
#include <iterator>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

const char kLockName[] = "zelk_nal.lock";
const char kSocketName[] = "zelk_nal.socket";
// Each request's line and the answer of a copy that takes it ("closed" is what every copy has
// answered to the close request, and so stays).
struct Wire {
    InstanceChannel::Request request;
    QByteArray line;
    QByteArray taken;
};
const Wire kWires[] = {
    {InstanceChannel::Request::Close, "close\n", "closed\n"},
    {InstanceChannel::Request::Show, "show\n", "done\n"},
    {InstanceChannel::Request::PrintPage, "print-page\n", "done\n"},
    {InstanceChannel::Request::Settings, "settings\n", "done\n"},
    {InstanceChannel::Request::Reprint, "reprint\n", "done\n"},
};
const QByteArray kRefusedAnswer = "refused\n";
constexpr int kTimeoutMs = 30000;

const Wire& wireOf(InstanceChannel::Request request)
{
    return *std::find_if(std::begin(kWires), std::end(kWires),
                         [request](const Wire& wire) { return wire.request == request; });
}

// The request's line: its name, then its number when it has one.
QByteArray lineOf(const Wire& wire, int number)
{
    return number == 0 ? wire.line : wire.line.chopped(1) + ' ' + QByteArray::number(number) + '\n';
}

const Wire* wireOf(const QByteArray& line, int& number)
{
    const QList<QByteArray> words = line.chopped(line.endsWith('\n') ? 1 : 0).split(' ');
    number = words.value(1).toInt();
    const QByteArray name = words.first() + '\n';
    const auto* found = std::find_if(std::begin(kWires), std::end(kWires),
                                     [&name](const Wire& wire) { return wire.line == name; });
    return found == std::end(kWires) ? nullptr : found;
}

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

void InstanceChannel::listen(Serve serve)
{
    m_serve = std::move(serve);
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
            int number = 0;
            const Wire* wire = wireOf(socket->readLine(), number);
            const bool taken = wire && m_serve && m_serve(wire->request, number);
            socket->write(taken ? wire->taken : kRefusedAnswer);
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

InstanceChannel::Answer InstanceChannel::send(Request request, const QString& directory, int number)
{
    const Wire& wire = wireOf(request);
    QLocalSocket socket;
    socket.connectToServer(QDir(directory).filePath(kSocketName));
    if (!socket.waitForConnected(kTimeoutMs))
        return Answer::NotRunning;
    socket.write(lineOf(wire, number));
    socket.flush();
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(kTimeoutMs))
        answer += socket.readAll();
    return answer == wire.taken ? Answer::Done : Answer::Refused;
}
