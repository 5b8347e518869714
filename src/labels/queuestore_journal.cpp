// The print journal of a folder's queue: each sheet recorded before it goes out and when the
// printer has it, what a crash cut short settled by the evidence, the printed sheets kept after
// each run, and the printed front of the queue compacted out of the saved-queue file once it has
// grown long.
#include "labels/queuestore.h"

#include "labels/journalcheck.h"
#include "labels/printhistory.h"
#include "labels/queuefilenames.h"
#include "labels/settingsfile.h"
#include "platform/apperror.h"
#include "platform/files/fileops.h"
#include "platform/files/ownfile.h"
#include "platform/files/replacement.h"

#include <algorithm>
#include <QScopeGuard>

using State = SheetRecord::State;

void QueueStore::checkCanRecord(const QueueLocation& location) const
{
    const FileNames names(location);
    for (const QString& path :
         {names.journal, names.history, PrintHistory::tempName(names.history), names.temp})
        if (OwnFile::of(path) == OwnFile::Standing::Foreign)
            throw AppError(OwnFile::notUsed(path));
    for (const QString& path : {names.saved, names.journal, names.history, location.settings}) {
        if (path.isEmpty())
            continue;
        if (const QString why = whyNotReplaceable(path); !why.isEmpty())
            throw AppError(
                QStringLiteral("Nie można zapisać, co zostanie wydrukowane: %1. Nic nie "
                               "wydrukowano; naklejki czekają w kolejce. Niech wydrukuje je ten "
                               "użytkownik albo administrator zmieni właściciela pliku (chown) "
                               "lub uprawnienia folderu.")
                    .arg(why));
    }
}

int QueueStore::recordSheet(const QueueLocation& location, SheetRecord sheet, QueuedLines& queue)
{
    const FileNames names(location);
    lockAndSettle(names);
    // The queue changed since a run kept its sheets but could not be saved: the file is written
    // anew, so that the sheet's bytes are the file's.
    if (m_journal && !holdsUnkeptSheets() && !inSync(names, queue))
        compact(names, location.settings, queue, Rewrite::Always);
    if (!m_journal) {
        if (!inSync(names, queue))
            writeWhole(names, queue);
        m_journal = PrintJournal::create(names.journal, FileOps::identity(names.saved));
    }
    sheet.sequence = m_journal->sheets.isEmpty() ? 1 : m_journal->sheets.last().sequence + 1;
    sheet.state = State::Sent;
    PrintJournal::appendSheet(names.journal, sheet);
    m_journal->sheets << sheet;
    return sheet.sequence;
}

SheetRecord& QueueStore::recordedSheet(int sequence)
{
    return *std::find_if(
        m_journal->sheets.begin(), m_journal->sheets.end(),
        [sequence](const SheetRecord& sheet) { return sheet.sequence == sequence; });
}

// A held sheet's "accepted" line is flushed before the sheet is released; a PDF's may wait for
// the journal's next flush, as its file, flushed, settles it without the line.
void QueueStore::sheetAccepted(const QueueLocation& location, int sequence, bool held)
{
    PrintJournal::appendState(FileNames(location).journal, sequence, State::Accepted,
                              held ? FileOps::Flush::Now : FileOps::Flush::WithNext);
    recordedSheet(sequence).state = State::Accepted;
}

void QueueStore::sheetReleased(const QueueLocation& location, int sequence)
{
    recordedSheet(sequence).state = State::Released;
    try {
        PrintJournal::appendState(FileNames(location).journal, sequence, State::Released,
                                  FileOps::Flush::WithNext);
    } catch (const AppError&) {
        // Without the line, settling releases the job once more, which changes nothing.
    }
}

// A journal beside another saved-queue file than its own is left over from a compaction that
// a crash cut short after the file was put in place: its printed lines are gone already. The
// records of one beside its own file are checked against that file's lines, `saved`.
void QueueStore::readJournal(const FileNames& names, const QueuedLines& saved, int places)
{
    m_journal = PrintJournal::read(names.journal);
    if (m_journal && m_journal->queueIdentity != FileOps::identity(names.saved))
        m_journal.reset();
    if (!m_journal) {
        FileOps::remove(names.journal);
        return;
    }
    if (const QStringList faults = JournalCheck::distrustFailing(*m_journal, saved, places);
        !faults.isEmpty())
        m_journalFaults =
            QStringLiteral("Zapisy dziennika wydruku %1 nie zgadzają się z plikiem %2 (%3). "
                           "Naklejki tych arkuszy pozostają w kolejce; jeśli zostały już "
                           "wydrukowane, wydrukują się jeszcze raz.")
                .arg(names.journal, names.saved, faults.join(QStringLiteral("; ")));
    // A line that a crash cut short gets its end, so that the next record starts a line.
    if (!FileOps::read(names.journal, FileOps::size(names.journal) - 1).endsWith('\n'))
        FileOps::append(names.journal, "\n");
    settleSheets();
    m_settledFirstFree = journalFirstFree();
}

// Sheets whose fate is not known yet are settled: the printer backend looks at the evidence.
// Without one, a sheet counts as printed once the printer had it.
void QueueStore::settleSheets()
{
    for (SheetRecord& sheet : m_journal->sheets) {
        if (sheet.state == State::Released || sheet.state == State::NotPrinted)
            continue;
        const bool accepted = sheet.state != State::Sent;
        const SheetFate fate = m_settler  ? m_settler(sheet.destination, accepted)
                               : accepted ? SheetFate::Printed
                                          : SheetFate::NotPrinted;
        sheet.state = fate == SheetFate::Printed          ? State::Released
                      : fate == SheetFate::ReleasePending ? State::ReleasePending
                                                          : State::NotPrinted;
    }
}

// The first free place after the last printed sheet that is not kept yet.
std::optional<int> QueueStore::journalFirstFree() const
{
    std::optional<int> place;
    for (const SheetRecord& sheet : m_journal->sheets)
        if (sheet.printed() && sheet.sequence > m_journal->kept)
            place = sheet.firstFree;
    return place;
}

// Whether the journal holds sheets whose run was not compacted yet (the run goes on, or its
// compaction failed).
bool QueueStore::holdsUnkeptSheets() const
{
    return m_journal && !m_journal->sheets.isEmpty() &&
           m_journal->sheets.last().sequence > m_journal->kept;
}

// Where the lines that no printed sheet holds begin in the saved-queue file. The sheets of a run
// follow each other from the queue's start, and a repetition prints some again: the front moves
// over the printed sheets that meet it and stops at the first line that none of them holds.
qint64 QueueStore::printedFront() const
{
    QList<const SheetRecord*> holding;
    if (m_journal)
        for (const SheetRecord& sheet : m_journal->sheets)
            if (sheet.from != sheet.to)
                holding << &sheet;
    if (holding.isEmpty())
        return 0;
    std::sort(holding.begin(), holding.end(),
              [](const SheetRecord* a, const SheetRecord* b) { return a->from < b->from; });
    qint64 front = holding.first()->from;
    for (const SheetRecord* sheet : std::as_const(holding)) {
        if (sheet->from > front)
            break;
        if (sheet->printed())
            front = std::max(front, sheet->to);
    }
    return front;
}

qsizetype QueueStore::dropPrinted(QueuedLines& queue)
{
    if (!m_journal)
        return 0;
    settleSheets();
    const bool synced = queue.version() == m_syncedVersion;
    const qsizetype dropped = queue.removeBefore(printedFront());
    if (synced)
        m_syncedVersion = queue.version();
    return dropped;
}

// The printed sheets not kept yet join the history, and the first free place after them goes to
// the settings file. The history takes no sheet of a journal twice.
void QueueStore::keepPrinted(const FileNames& names, const QString& settingsFile)
{
    PrintHistory::keep(names.history, unkeptSheets(), QDateTime::currentDateTime());
    if (const std::optional<int> place = journalFirstFree(); place && !settingsFile.isEmpty())
        writeFirstFree(settingsFile, *place);
}

PrintJournal::Contents QueueStore::unkeptSheets() const
{
    PrintJournal::Contents unkept = *m_journal;
    unkept.sheets.removeIf(
        [&](const SheetRecord& sheet) { return sheet.sequence <= m_journal->kept; });
    return unkept;
}

// Whether the saved-queue file is to be written without the printed lines now. Until the front
// has passed a quarter of the file, a run costs the journal a line where it would cost the
// whole queue; the journal's own length is bounded by the history's.
bool QueueStore::rewriteDue(const FileNames& names, const QueuedLines& queue) const
{
    return queue.base() == 0 || !inSync(names, queue) ||
           queue.base() * 4 >= FileOps::size(names.saved) ||
           m_journal->sheets.size() >= PrintHistory::keptSheets;
}

// The printed sheets are kept (above); when a rewrite is due, the saved-queue file is then
// written without the printed lines and the journal goes, else the journal marks them kept and
// stays, recording where the front stands. A crash before the journal's removal leaves it beside
// a file that is not its own any more, and so settled as done; one before that keeps its sheets
// again, and neither the history nor the settings take any of them twice. A step that fails
// leaves this process as a crash would leave the next: once the new file has its name, the
// queue's offsets are the new file's and the journal is done with, whatever fails after it;
// before, both stay as they were.
void QueueStore::compact(const FileNames& names, const QString& settingsFile, QueuedLines& queue,
                         Rewrite rewrite)
{
    const auto agreeWithTheDisk = qScopeGuard([&] {
        if (m_journal && m_journal->queueIdentity != FileOps::identity(names.saved))
            m_journal.reset();
    });
    dropPrinted(queue);
    for (const SheetRecord& sheet : std::as_const(m_journal->sheets))
        if (sheet.state == State::ReleasePending)
            throw AppError(QStringLiteral("Drukarka nie zwolniła jeszcze wstrzymanego zadania "
                                          "wydruku (%1); program spróbuje ponownie przy następnym "
                                          "wydruku.")
                               .arg(sheet.destination));
    keepPrinted(names, settingsFile);
    if (rewrite == Rewrite::WhenDue && !rewriteDue(names, queue)) {
        if (holdsUnkeptSheets()) {
            PrintJournal::appendKept(names.journal, unkeptSheets().sheets);
            m_journal->kept = m_journal->sheets.last().sequence;
        }
        return;
    }
    if (queue.base() > 0 || !inSync(names, queue))
        writeWhole(names, queue);
    FileOps::remove(names.journal);
    FileOps::syncFolder(names.folder);
    m_journal.reset();
}
