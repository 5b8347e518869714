#pragma once

// The desktop's notification area as it is at the moment of asking. It may come after the
// program (a panel started later at login) and go again.
class TrayPresence {
public:
    enum class Kind {
        None,
        XEmbed,         // a tray on the X display that embeds the icon's window
        StatusNotifier, // a host of StatusNotifierItems on the session bus
    };

    virtual ~TrayPresence() = default;
    // The host of StatusNotifierItems when there is one, else an XEmbed tray, else none.
    virtual Kind present() const = 0;
};
