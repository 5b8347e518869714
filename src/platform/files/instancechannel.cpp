#include "platform/files/instancechannel.h"

#include "platform/apperror.h"
#include "platform/files/userfolder.h"

#include <algorithm>
#include <iterator>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUrl>

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
// A refusal: "refused", and why since this version.
const QByteArray kRefused = "refused";
constexpr int kTimeoutMs = 30000;

const Wire& wireOf(InstanceChannel::Request request)
{
    return *std::find_if(std::begin(kWires), std::end(kWires),
                         [request](const Wire& wire) { return wire.request == request; });
}

// A line's words: a name, then texts, each percent-encoded, so that a text holds any character.
QByteArray lineOf(const QByteArray& name, const QStringList& texts)
{
    QByteArray line = name;
    for (const QString& text : texts)
        line += ' ' + QUrl::toPercentEncoding(text);
    return line + '\n';
}

QStringList textsOf(const QList<QByteArray>& words)
{
    QStringList texts;
    for (const QByteArray& word : words.mid(1))
        texts << QUrl::fromPercentEncoding(word);
    return texts;
}

QList<QByteArray> wordsOf(const QByteArray& line)
{
    return line.chopped(line.endsWith('\n') ? 1 : 0).split(' ');
}

const Wire* wireOf(const QByteArray& name)
{
    const auto* found =
        std::find_if(std::begin(kWires), std::end(kWires),
                     [&name](const Wire& wire) { return wire.line.chopped(1) == name; });
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
            const QList<QByteArray> words = wordsOf(socket->readLine());
            const Wire* wire = wireOf(words.first());
            const QString why = !wire || !m_serve ? QStringLiteral("nieznane polecenie")
                                                  : m_serve(wire->request, textsOf(words));
            socket->write(why.isEmpty() ? wire->taken : lineOf(kRefused, {why}));
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

InstanceChannel::Answer InstanceChannel::send(Request request, const QString& directory,
                                              const QStringList& arguments, QString* why)
{
    const Wire& wire = wireOf(request);
    QLocalSocket socket;
    socket.connectToServer(QDir(directory).filePath(kSocketName));
    if (!socket.waitForConnected(kTimeoutMs))
        return Answer::NotRunning;
    socket.write(lineOf(wire.line.chopped(1), arguments));
    socket.flush();
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(kTimeoutMs))
        answer += socket.readAll();
    if (answer == wire.taken)
        return Answer::Done;
    if (why)
        *why = textsOf(wordsOf(answer)).value(0);
    return Answer::Refused;
}
