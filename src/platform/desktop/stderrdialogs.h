#pragma once

#include "platform/desktop/dialogs.h"

#include <cstdio>
#include <QSet>

// Dialogs for a run without a desktop: messages are written to standard error (or `out`),
// questions are answered No, the common dialogs are cancelled. A report is written once per run,
// however often the run meets the same failure. Counts the faults written: every report but a
// warning (the exclamation icon), so that the run can end with a failing exit code.
class StderrDialogs : public Dialogs {
public:
    explicit StderrDialogs(std::FILE* out = stderr)
        : m_out(out)
    {
    }

    MessageAnswer message(const Message& message) override;
    // Notices only tell a desktop user what to expect of the tray and the window.
    void notify(const Message&) override {}
    void withdraw(const QString&) override {}
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    std::optional<QString> openPicture(const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }

    int faultCount() const { return m_faults; }

private:
    void write(const QString& text);

    std::FILE* m_out;
    QSet<QString> m_written;
    int m_faults = 0;
};
