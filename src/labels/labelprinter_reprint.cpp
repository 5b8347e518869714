// Printing sheets of the history again: their labels stand in for the queue's during a run that
// asks nothing, and the queue comes back untouched.
#include "labels/labelprinter.h"

#include "labels/queuefilenames.h"
#include "platform/apperror.h"

#include <QFileInfo>
#include <QScopedValueRollback>
#include <QScopeGuard>

namespace {

// Whether two names name one file, wherever they were written from.
bool sameFile(const QString& one, const QString& other)
{
    const QFileInfo first(one);
    const QFileInfo second(other);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

} // namespace

QList<PrintedSheet> LabelPrinter::printHistory() const
{
    return PrintHistory::listed(PrintHistory::read(historyFile()), QDateTime::currentDateTime());
}

QString LabelPrinter::historyFile() const
{
    return QFileInfo(QueueStore::FileNames(queueLocation()).history).absoluteFilePath();
}

PrintedSheet LabelPrinter::historySheet(int number) const
{
    const QList<PrintedSheet> sheets = printHistory();
    for (const PrintedSheet& printed : sheets)
        if (printed.number == number)
            return printed;
    if (sheets.isEmpty())
        throw AppError(QStringLiteral("historia wydruków %1 jest pusta").arg(historyFile()));
    throw AppError(QStringLiteral("w historii wydruków %1 nie ma arkusza %2 (są w niej arkusze "
                                  "od %3 do %4)")
                       .arg(historyFile())
                       .arg(number)
                       .arg(sheets.last().number)
                       .arg(sheets.first().number));
}

PrintedSheet LabelPrinter::historySheet(const SheetName& name) const
{
    if (name.number == 0)
        throw AppError(QStringLiteral("polecenie nie wskazuje arkusza historii wydruków (wysłała "
                                      "je inna wersja programu)"));
    if (!sameFile(name.history, historyFile()))
        throw AppError(QStringLiteral("ten program prowadzi historię wydruków w pliku %1, a "
                                      "polecenie wskazuje arkusz z pliku %2 (program działa z "
                                      "innymi ustawieniami)")
                           .arg(historyFile(), name.history));
    PrintedSheet printed = historySheet(name.number);
    if (printed.journal != name.journal || printed.sheet.sequence != name.sequence)
        throw AppError(QStringLiteral("arkusz %1 historii wydruków %2 to już inny arkusz niż ten "
                                      "wypisany")
                           .arg(name.number)
                           .arg(historyFile()));
    return printed;
}

SheetName LabelPrinter::nameOf(const PrintedSheet& printed) const
{
    return {historyFile(), printed.number, printed.journal, printed.sheet.sequence};
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
