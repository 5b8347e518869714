#pragma once

#include "platform/filelock.h"

#include <functional>
#include <QObject>
#include <QString>

class QLocalServer;

// Marks the running copy of the program for the current user and carries the close request
// from `zelk_nal --close` to it. The lock is an flock on a file in the user's private folder
// (released by the kernel however the process ends); the request travels over a local socket
// in the same folder. Failures to set either up raise AppError.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QString directory = defaultDirectory(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    static QString defaultDirectory();

    // True when this process now holds the lock; false when another copy holds it.
    bool tryLock();

    // Serves close requests; `closeNow` answers whether the program is closing.
    void listen(std::function<bool()> closeNow);

    enum class CloseResult { Closed, Refused, NotRunning };
    static CloseResult requestClose(const QString& directory = defaultDirectory());

private:
    void serveConnection();

    QString m_directory;
    FileLock m_lock;
    QLocalServer* m_server = nullptr;
    std::function<bool()> m_closeNow;
};
