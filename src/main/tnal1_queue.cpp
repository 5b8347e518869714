// The label queue: reading the buffer, the saved-queue file that mirrors the queue, and the
// count hint.
#include "main/tnal1.h"

#include "main/texts.h"

#include <QScopeGuard>

namespace {

QString countHint(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("Liczba kodów w buforze: 0");
    return QStringLiteral("Liczba kodów w buforze:") + QString::number(count);
}

} // namespace

QueueLocation TNal1::queueLocation() const
{
    return {paths.FilePath, paths.NazwaPliku, settings.UTF8Encoding};
}

void TNal1::OpenNal(const QString& name)
{
    const auto setCountHint = qScopeGuard([this] { setHint(countHint(queue.ListaLini.size())); });
    if (name.trimmed().isEmpty()) {
        queue.ListaLini += queueStore.restore(queueLocation());
        return;
    }
    QueueLocation location = queueLocation();
    location.buffer = name;
    reportSetAside(queueStore.take(location, queue.ListaLini, queue.printed));
}

// Names each line that can never print, and where it went, in one message.
void TNal1::reportSetAside(const QList<SetAsideLine>& lines)
{
    if (lines.isEmpty())
        return;
    constexpr qsizetype shownLines = 10;
    constexpr qsizetype shownCharacters = 80;
    QStringList named;
    for (const SetAsideLine& line : lines.first(qMin(lines.size(), shownLines))) {
        const QString text = line.line.size() > shownCharacters
                                 ? line.line.left(shownCharacters) + QStringLiteral("…")
                                 : line.line;
        named << QStringLiteral("„%1”: %2").arg(text, line.reason);
    }
    if (lines.size() > shownLines)
        named << QStringLiteral("i %1 innych.").arg(lines.size() - shownLines);
    m_services.dialogs->message(
        {QStringLiteral("Tych wierszy bufora nie da się wydrukować; odłożono je do pliku "
                        "%1zelk.nal.odrzucone:\n")
                 .arg(paths.FilePath) +
             named.join(u'\n'),
         Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Exclamation});
}

void TNal1::SaveNal()
{
    queueChanged();
}

void TNal1::queueChanged()
{
    queueStore.save(queueLocation(), queue.ListaLini);
}

void TNal1::KasujListeNalepek()
{
    queue.ListaNal.clear();
}

void TNal1::clearQueue()
{
    setHint(countHint(0));
    queue.ListaLini.clear();
    queueChanged();
}

void TNal1::dropQueue()
{
    KasujListeNalepek();
    queue.ListaLini.clear();
    queueChanged();
}
