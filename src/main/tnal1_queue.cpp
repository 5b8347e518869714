// The label queue: reading the buffer, the saved-queue file that mirrors the queue, and the
// count hint.
#include "main/tnal1.h"

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
    queueStore.take(location, queue.ListaLini, queue.printed);
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
