#pragma once

#include "platform/desktop/dialogs.h"

#include <QSet>

// The reports of the polling tick, which repeats every second for weeks: a failure that comes
// back at every tick (a missing printer, a bad logo, a full disk) is shown once, and again only
// after a tick went without it or it changed. A tick's report is a box that waits for nobody, so
// the ticks go on taking the buffer and printing while it is open. Questions, and reports outside
// a tick (the user's own actions), pass as they are. Ticks that run while a question of another
// tick is open count as part of that tick.
class TickReports : public Dialogs {
public:
    explicit TickReports(Dialogs& shown)
        : m_shown(shown)
    {
    }

    // One tick: the reports between its start and its end.
    class Tick {
    public:
        explicit Tick(TickReports& reports);
        ~Tick();
        Tick(const Tick&) = delete;
        Tick& operator=(const Tick&) = delete;

    private:
        TickReports& m_reports;
    };

    MessageAnswer message(const Message& message) override;
    void notify(const Message& message) override { m_shown.notify(message); }
    void withdraw(const QString& text) override { m_shown.withdraw(text); }
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        return m_shown.chooseFont(initial);
    }
    std::optional<QString> openPicture(const QString& initialPath) override
    {
        return m_shown.openPicture(initialPath);
    }
    std::optional<QString> openFile(const QString& fileName, const QString& folder) override
    {
        return m_shown.openFile(fileName, folder);
    }

private:
    Dialogs& m_shown;
    int m_depth = 0;
    QSet<QString> m_lastTick; // the failures of the last tick that ended
    QSet<QString> m_thisTick;
};
