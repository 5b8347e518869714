#pragma once

#include <functional>
#include <QObject>

class QSessionManager;
class QSocketNotifier;

// The end of the user's session: the session manager's commit-data request and the signals
// SIGTERM, SIGHUP and SIGINT. Both ask `canEnd` (which saves the queue and answers whether
// the session may end); a signal whose answer is yes is followed by `terminated`.
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
