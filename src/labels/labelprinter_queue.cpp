// The label queue: reading the buffer and the saved-queue file that mirrors the queue.
#include "labels/labelprinter.h"

#include "labels/texts.h"

#include <QScopeGuard>

namespace {

void call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

} // namespace

QueueLocation LabelPrinter::queueLocation() const
{
    return {paths.FilePath, paths.NazwaPliku, settings.UTF8Encoding, paths.settingsFile(),
            settings.labelsPerSheet()};
}

void LabelPrinter::OpenNal(const QString& name)
{
    const auto counted = qScopeGuard([this] {
        takeSettledFirstFree();
        call(countChanged);
    });
    if (name.trimmed().isEmpty()) {
        reportSetAside(queueStore.restore(queueLocation(), queue.ListaLini));
        return;
    }
    QueueLocation location = queueLocation();
    location.buffer = name;
    reportSetAside(queueStore.take(location, queue.ListaLini));
}

void LabelPrinter::takeSettledFirstFree()
{
    if (const std::optional<int> place = queueStore.takeSettledFirstFree())
        settings.PierwszaWolna = *place;
}

// Names each line that can never print, and where it went, in one message.
void LabelPrinter::reportSetAside(const QList<SetAsideLine>& lines)
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

void LabelPrinter::takeBuffer()
{
    if (QueueStore::hasWaitingFiles(queueLocation()) || queueStore.savedQueueUnread())
        OpenNal(paths.NazwaPliku);
}

void LabelPrinter::SaveNal()
{
    queueStore.saveAtClose(queueLocation(), queue.ListaLini);
}

void LabelPrinter::queueChanged()
{
    queueStore.save(queueLocation(), queue.ListaLini);
}

void LabelPrinter::KasujListeNalepek()
{
    queue.ListaNal.clear();
}

void LabelPrinter::clearQueue()
{
    queue.ListaLini.clear();
    call(countChanged);
    queueChanged();
}

void LabelPrinter::dropQueue()
{
    KasujListeNalepek();
    queue.ListaLini.clear();
    queueChanged();
}
