#pragma once

#include <memory>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A private X server (Xvfb) with a notification area (trayer), for tests that start the
// program as a real process. `available()` is false where the tools are not installed.
class VirtualDesktop {
public:
    explicit VirtualDesktop(bool withTray = true);
    ~VirtualDesktop();

    bool available() const { return m_xserver != nullptr; }
    const QString& display() const { return m_display; }

    // The environment for a program on this desktop, with its own runtime folder so that it
    // meets no other copy of the program than those started by the test.
    QProcessEnvironment environment() const;

    // Runs xdotool with `arguments`; returns its standard output, trimmed.
    QString xdotool(const QStringList& arguments) const;

    // Waits up to `ms` for a window whose title is exactly `title`; returns its id or empty.
    QString waitForWindow(const QString& title, bool onlyVisible, int ms = 10000) const;

private:
    bool startServer();
    void startTray();

    QString m_display;
    QTemporaryDir m_runtime;
    std::unique_ptr<QProcess> m_xserver;
    std::unique_ptr<QProcess> m_tray;
};

// Polls `condition` every 50 ms for up to `ms`; true when it came true.
bool waitUntil(const std::function<bool()>& condition, int ms);
