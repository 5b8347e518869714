#pragma once

#include "platform/files/filelock.h"

#include <functional>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// Marks the running copy of the program for the current user and carries the requests of
// other copies (`zelk_nal --close`, `--show`, `--print-page`, `--settings`, `--reprint N`) to it.
// The lock is an flock on a file in the user's private folder (released by the kernel however the
// process ends); the requests travel over a local socket in the same folder, one line each,
// answered with one line. Failures to set either up raise AppError.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    enum class Request { Close, Show, PrintPage, Settings, Reprint };
    enum class Answer { Done, Refused, NotRunning };

    explicit InstanceChannel(QString directory = defaultDirectory(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    static QString defaultDirectory();

    // True when this process now holds the lock; false when another copy holds it.
    bool tryLock();

    // Serves requests, each with its arguments (texts); `serve` answers whether the program takes
    // the request (for Close: whether it is closing): an empty text when it does, otherwise why
    // not. It must not wait for the user: the asking copy waits for it.
    using Serve = std::function<QString(Request, const QStringList& arguments)>;
    void listen(Serve serve);

    // Sends `request` with its arguments to the running copy and waits for its answer; when it
    // refuses the request and says why, `why` gets the reason.
    static Answer send(Request request, const QString& directory = defaultDirectory(),
                       const QStringList& arguments = {}, QString* why = nullptr);

private:
    void serveConnection();

    QString m_directory;
    FileLock m_lock;
    QLocalServer* m_server = nullptr;
    Serve m_serve;
};
