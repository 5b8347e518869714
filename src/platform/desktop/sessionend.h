#pragma once

#include <functional>
#include <QObject>

class QSessionManager;
class QSocketNotifier;

// The end of the user's session and of the process: the session manager's commit-data request
// asks `canEnd` (which saves the queue and answers whether the session may end); the signals
// SIGTERM, SIGHUP and SIGINT are turned into `terminated`, delivered by the event loop.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(std::function<bool()> canEnd, QObject* parent = nullptr);
    ~SessionEnd() override;

signals:
    void terminated();

private:
    void commitData(QSessionManager& manager);
    void signalArrived();

    std::function<bool()> m_canEnd;
    QSocketNotifier* m_notifier = nullptr;
};
