#pragma once

#include "platform/desktop/notifier.h"

// Notices for a desktop without a notification area: one line each on standard error.
class StderrNotifier : public Notifier {
public:
    void notify(const QString& text, bool failed) override;
};
