#include "window/tickreports.h"

TickReports::Tick::Tick(TickReports& reports)
    : m_reports(reports)
{
    if (m_reports.m_depth++ == 0)
        m_reports.m_thisTick.clear();
}

TickReports::Tick::~Tick()
{
    if (--m_reports.m_depth == 0)
        m_reports.m_lastTick = std::exchange(m_reports.m_thisTick, {});
}

// A report of a tick waits for nobody: the ticks go on taking the buffer and printing while it
// is on the screen.
MessageAnswer TickReports::message(const Message& message)
{
    const bool report = message.buttons == MessageButtons::Ok;
    if (m_depth == 0 || !report)
        return m_shown.message(message);
    if (!m_lastTick.contains(message.text) && !m_thisTick.contains(message.text))
        m_shown.notify(message);
    m_thisTick.insert(message.text);
    return MessageAnswer::Ok;
}
