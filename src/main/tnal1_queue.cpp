// The label queue: reading the buffer, the saved-queue file and the count hint.
#include "main/tnal1.h"

namespace {

QString countHint(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("Liczba kodów w buforze: 0");
    return QStringLiteral("Liczba kodów w buforze:") + QString::number(count);
}

} // namespace

void TNal1::OpenNal(const QString&)
{
    // Not built yet: reading queue files.
    setHint(countHint(queue.ListaLini.size()));
}

void TNal1::SaveNal()
{
    // Not built yet: the saved-queue file.
}

void TNal1::KasujListeNalepek()
{
    queue.ListaNal.clear();
}

void TNal1::clearQueue()
{
    setHint(countHint(0));
    queue.ListaLini.clear();
}
