#include "window/windowrequests.h"

#include "platform/apperror.h"
#include "window/tnal1.h"

#include <QApplication>

using Request = InstanceChannel::Request;

WindowRequests::WindowRequests()
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(250);
    connect(&m_retry, &QTimer::timeout, this, &WindowRequests::servePending);
}

QString WindowRequests::take(Request request, const QStringList& arguments)
{
    Pending pending{request, {}};
    if (request == Request::Reprint) {
        if (!m_window)
            return QStringLiteral("program dopiero się uruchamia; spróbuj ponownie za chwilę");
        try {
            pending.sheets << m_window->labels().historySheet(SheetName::fromTexts(arguments));
        } catch (const AppError& error) {
            return error.text();
        }
    }
    m_pending << pending;
    QMetaObject::invokeMethod(this, &WindowRequests::servePending, Qt::QueuedConnection);
    return {};
}

void WindowRequests::serveOn(TNal1& window)
{
    m_window = &window;
    QMetaObject::invokeMethod(this, &WindowRequests::servePending, Qt::QueuedConnection);
}

bool WindowRequests::mustWait(Request request) const
{
    if (!m_window)
        return true;
    const bool busy =
        QApplication::activeModalWidget() != nullptr || m_window->labels().printRunInProgress;
    return request != Request::Show && busy;
}

// Serving may open a dialog whose event loop calls this again: each request leaves the list
// before it is served.
void WindowRequests::servePending()
{
    while (!m_pending.isEmpty()) {
        if (mustWait(m_pending.first().request)) {
            m_retry.start();
            return;
        }
        serve(m_pending.takeFirst());
    }
}

void WindowRequests::serve(Pending pending)
{
    TNal1& window = *m_window;
    window.guard().run([&window, pending] {
        switch (pending.request) {
        case Request::Show:
            window.Pokastron1Click();
            window.raise();
            window.activateWindow();
            break;
        case Request::PrintPage:
            window.printPageWithoutQuestions();
            break;
        case Request::Settings:
            window.Pokastron1Click();
            window.UstawParButClick();
            break;
        case Request::Reprint:
            window.reprint(pending.sheets);
            break;
        case Request::Close:
            break; // the program's end, not the window's: served where the program ends
        }
    });
}
