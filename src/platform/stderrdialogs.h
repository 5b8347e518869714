#pragma once

#include "platform/dialogs.h"

// Dialogs for a run without a desktop: messages are written to standard error, questions are
// answered No, the common dialogs are cancelled. Counts the reports written (every message that
// is not a question reports a fault), so that the run can end with a failing exit code.
class StderrDialogs : public Dialogs {
public:
    MessageAnswer message(const Message& message) override;
    // Notices only tell a desktop user what to expect of the tray and the window.
    void notify(const Message&) override {}
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    std::optional<QString> openPicture(const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }

    int reportCount() const { return m_reports; }

private:
    int m_reports = 0;
};
