#pragma once

#include "platform/filelock.h"

#include <functional>
#include <QObject>
#include <QString>

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

    // Serves requests, each with its number (0 when it has none); `serve` answers whether the
    // program takes the request (for Close: whether it is closing). It must not wait for the
    // user: the asking copy waits for it.
    using Serve = std::function<bool(Request, int number)>;
    void listen(Serve serve);

    // Sends `request`, with `number` unless it is 0, to the running copy and waits for its answer.
    static Answer send(Request request, const QString& directory = defaultDirectory(),
                       int number = 0);

private:
    void serveConnection();

    QString m_directory;
    FileLock m_lock;
    QLocalServer* m_server = nullptr;
    Serve m_serve;
};
