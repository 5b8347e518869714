// Printing sheets of the history again: their labels stand in for the queue's during a run that
// asks nothing, and the queue comes back untouched.
#include "labels/labelprinter.h"

#include "labels/queuefilenames.h"

#include <QScopedValueRollback>
#include <QScopeGuard>

QList<PrintedSheet> LabelPrinter::printHistory() const
{
    const QString path = QueueStore::FileNames(queueLocation()).history;
    return PrintHistory::listed(PrintHistory::read(path), QDateTime::currentDateTime());
}

int LabelPrinter::reprint(const QList<PrintedSheet>& sheets)
{
    QStringList lines;
    for (const PrintedSheet& printed : sheets)
        lines += printed.sheet.labels;
    if (lines.isEmpty())
        return 0;
    const QScopedValueRollback running(printRunInProgress, true);
    m_runFailure.clear();
    try {
        queueStore.checkCanRecord(queueLocation()); // before anything prints
    } catch (const AppError& error) {
        tellRunFailed(error.text());
        throw;
    }
    int printed = 0;
    {
        QueuedLines waiting = std::exchange(queue.ListaLini, QueuedLines(lines));
        QList<TNalepka> records = std::exchange(queue.ListaNal, {});
        const int composedFrom = queue.composedFrom;
        const auto restore = qScopeGuard([&] {
            queue.ListaLini = std::move(waiting);
            queue.ListaNal = std::move(records);
            queue.composedFrom = composedFrom;
            m_queueDuringReprint = nullptr;
        });
        m_queueDuringReprint = &waiting;
        const QScopedValueRollback quiet(askNothing, true);
        const QScopedValueRollback everyLabel(printPartialSheet, true);
        ParametryNalepki();
        RysujNal(false);
        printAttempt(int(lines.size()) - 1, false);
        printed = std::exchange(queue.printed, 0);
    }
    tellRunEnded(printed, false);
    // The first free place has moved: the queue's first sheet is shown from there.
    RysujNal(false);
    if (printedTakenOff)
        printedTakenOff(false);
    queueChanged(); // the journal is compacted: the reprint joins the history
    return printed;
}
