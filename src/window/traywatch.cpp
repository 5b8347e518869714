#include "window/traywatch.h"

#include "labels/texts.h"

#include <cstdio>

namespace {

// The look at the start and one each second after it: the eleventh comes ten seconds after
// the start, and without a notification area by then the missing one is reported.
constexpr int kPollsBeforeMissing = 11;

const QString missingText = QStringLiteral(
    "Pulpit nie ma obszaru powiadomień, więc ikona programu nie jest widoczna.\n"
    "Program działa dalej: okno pojawi się, gdy w buforze będzie pełna strona naklejek.");

} // namespace

TrayWatch::TrayWatch(const TrayPresence& presence, Dialogs& dialogs,
                     std::function<void(TrayPresence::Kind)> appeared)
    : m_presence(presence)
    , m_dialogs(dialogs)
    , m_appeared(std::move(appeared))
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
        if (m_polls >= kPollsBeforeMissing)
            m_dialogs.withdraw(missingText);
    } else if (++m_polls == kPollsBeforeMissing) {
        reportMissing();
    }
}

void TrayWatch::reportMissing()
{
    std::fprintf(stderr, "zelk_nal: %s\n", qUtf8Printable(missingText));
    m_dialogs.notify(
        {missingText, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Information});
}
