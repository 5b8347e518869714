#pragma once

#include "labels/runnotice.h"
#include "platform/desktop/notifier.h"

#include <QList>

// Records every notice shown.
class RecordingNotifier : public Notifier {
public:
    void notify(const QString& text, bool failed) override { shown << RunNotice{text, failed}; }

    QList<RunNotice> shown;
};
