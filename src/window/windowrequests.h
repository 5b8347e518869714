#pragma once

#include "labels/printhistory.h"
#include "platform/files/instancechannel.h"

#include <QList>
#include <QObject>
#include <QTimer>

class TNal1;

// The requests of other copies that act on the window: `zelk_nal --show`, `--print-page` and
// `--settings` do what "Pokaż stronę", "Drukuj stronę" and "Ustaw parametry" do; `--reprint N`
// prints a sheet of the history again, as its window's "Drukuj ponownie" does. The channel
// answers at once; the window serves the request afterwards from the event loop, in the order
// they came, each through its error guard. Printing and the settings dialog would start inside
// an open dialog or a running print, so they wait until it is over; showing never waits.
// Requests that come during start-up wait for the window.
class WindowRequests : public QObject {
public:
    WindowRequests();

    // Takes a request to serve; returns why not, empty when it is taken. A reprint names its
    // sheet (see SheetName): it is taken only when that is a sheet of this copy's history, and
    // then exactly that sheet prints.
    QString take(InstanceChannel::Request request, const QStringList& arguments = {});
    // From now on requests are served on `window`.
    void serveOn(TNal1& window);

private:
    struct Pending {
        InstanceChannel::Request request;
        QList<PrintedSheet> sheets; // of a reprint
    };

    bool mustWait(InstanceChannel::Request request) const;
    void servePending();
    void serve(Pending pending);

    TNal1* m_window = nullptr;
    QList<Pending> m_pending;
    QTimer m_retry; // looks again whether a waiting request may be served
};
