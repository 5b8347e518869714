#include "window/traywatch.h"

namespace {

// The look at the start and one each second after it: the eleventh comes ten seconds after
// the start, and without a notification area by then the missing one is reported.
constexpr int kPollsBeforeMissing = 11;

} // namespace

TrayWatch::TrayWatch(const TrayPresence& presence, std::function<void(TrayPresence::Kind)> appeared,
                     std::function<void()> missing)
    : m_presence(presence)
    , m_appeared(std::move(appeared))
    , m_missing(std::move(missing))
{
    m_timer.setInterval(1000);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

void TrayWatch::poll()
{
    const TrayPresence::Kind kind = m_presence.present();
    if (kind != TrayPresence::Kind::None) {
        m_timer.stop();
        m_appeared(kind);
    } else if (++m_polls == kPollsBeforeMissing) {
        m_missing();
    }
}
