#pragma once

#include "platform/filelock.h"

#include <functional>
#include <QObject>
#include <QString>

class QLocalServer;

// Marks the running copy of the program for the current user and carries the requests of
// other copies (`zelk_nal --close`, `--show`, `--print-page`, `--settings`) to it. The lock is
// an flock on a file in the user's private folder (released by the kernel however the process
// ends); the requests travel over a local socket in the same folder, one line each, answered
// with one line. Failures to set either up raise AppError.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    enum class Request { Close, Show, PrintPage, Settings };
    enum class Answer { Done, Refused, NotRunning };

    explicit InstanceChannel(QString directory = defaultDirectory(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    static QString defaultDirectory();

    // True when this process now holds the lock; false when another copy holds it.
    bool tryLock();

    // Serves requests; `serve` answers whether the program takes the request (for Close:
    // whether it is closing). It must not wait for the user: the asking copy waits for it.
    void listen(std::function<bool(Request)> serve);

    // Sends `request` to the running copy and waits for its answer.
    static Answer send(Request request, const QString& directory = defaultDirectory());

private:
    void serveConnection();

    QString m_directory;
    FileLock m_lock;
    QLocalServer* m_server = nullptr;
    std::function<bool(Request)> m_serve;
};
