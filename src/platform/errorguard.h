#pragma once

#include "platform/desktop/dialogs.h"

#include <functional>
#include <QString>
#include <utility>

// The one place where errors stop: every user action and timer tick runs through a guard, so
// no exception ever reaches Qt's event loop. A caught error is shown as the application's
// general error report: caption = application title, error icon, the error's text.
class ErrorGuard {
public:
    ErrorGuard(Dialogs& dialogs, QString caption)
        : m_dialogs(dialogs)
        , m_caption(std::move(caption))
    {
    }

    // Runs `action`; returns false when it ended in an error (which has then been reported).
    bool run(const std::function<void()>& action) const noexcept;

    // Wraps `action` for use as a slot.
    template <typename F> auto wrap(F action) const
    {
        return [this, action](auto&&...) { run(action); };
    }

    void report(const QString& text) const noexcept;

private:
    Dialogs& m_dialogs;
    QString m_caption;
};
