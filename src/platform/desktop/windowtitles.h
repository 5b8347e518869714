#pragma once

#include <memory>
#include <QByteArray>
#include <QStringList>

// The titles of the desktop's top-level windows, hidden ones included.
class WindowTitles {
public:
    virtual ~WindowTitles() = default;
    virtual QStringList topLevelTitles() = 0;
};

// X11 through xcb where the program runs under X; a service that lists nothing elsewhere.
std::unique_ptr<WindowTitles> makeDesktopWindowTitles();
// The top-level windows of the X server `display` (empty: the one $DISPLAY names), through xcb.
std::unique_ptr<WindowTitles> makeX11WindowTitles(const QByteArray& display = {});
