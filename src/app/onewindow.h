#pragma once

#include <functional>
#include <QString>
#include <QStringList>

class Dialogs;
class InstanceChannel;
class WindowTitles;

// What the single-instance test looks at and how it refuses.
struct InstanceCheck {
    WindowTitles& titles;
    InstanceChannel& channel;
    Dialogs& dialogs;
    std::function<void()> endProcess; // ends the process with exit code 0
};

// Appends a window's text to `list` when it is not empty, cut to 256 characters. Always true,
// so that every window is visited.
bool EnumTitlesProc(const QString& windowText, QStringList& list);

// False when no top-level window carries exactly `title` and no other copy holds the instance
// lock. Otherwise shows the refusal message and ends the process; it does not return then.
bool OneWindowCheck(const QString& title, const InstanceCheck& check);
