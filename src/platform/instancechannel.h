#pragma once

#include <functional>
#include <QObject>
#include <QString>

class QLocalServer;

// Marks the running copy of the program for the current user and carries the close request
// from `zelk_nal --close` to it. The lock is an flock on a file in the user's runtime folder
// (released by the kernel however the process ends); the request travels over a local socket
// in the same owner-only folder.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QString directory = defaultDirectory(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    static QString defaultDirectory();

    // True when this process now holds the lock; false when another copy holds it.
    bool tryLock();

    // Serves close requests; `closeNow` answers whether the program is closing.
    bool listen(std::function<bool()> closeNow);

    enum class CloseResult { Closed, Refused, NotRunning };
    static CloseResult requestClose(const QString& directory = defaultDirectory());

private:
    void serveConnection();

    QString m_directory;
    int m_lockFd = -1;
    QLocalServer* m_server = nullptr;
    std::function<bool()> m_closeNow;
};
