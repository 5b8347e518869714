#pragma once

#include <QString>

// Whether the display Qt is about to open answers: the X server of DISPLAY, or the Wayland
// compositor of WAYLAND_DISPLAY where Qt would try one (QT_QPA_PLATFORM, XDG_SESSION_TYPE).
// Qt ends the process with SIGABRT when it cannot open one, which a stale ssh display or a
// `sudo -u` shell brings about. Another platform named in QT_QPA_PLATFORM (offscreen, vnc …) is
// taken as it is. Call before the application object exists.
bool displayReachable();

// The display variables as the user has them, for a message: DISPLAY=":1", WAYLAND_DISPLAY="".
QString displayVariables();
