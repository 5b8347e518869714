#pragma once

#include "labels/printjournal.h"

#include <QDateTime>
#include <QList>
#include <QString>

// A sheet a printer accepted, as the history keeps it.
struct PrintedSheet {
    QString journal; // the id of the print journal that recorded it
    SheetRecord sheet;

    // The identifiers of its first and last label.
    QString firstIdentifier() const;
    QString lastIdentifier() const;
};

// The history of printed sheets "zelk.nal.historia" beside the saved-queue file: every sheet of
// the print journals that a printer accepted, with its labels, so that it can be printed again.
// One line a sheet, the journal's id and the sheet's record as the journal has it:
//
//   <journal id> <sequence> <from> <to> <lines> … <labels>
//
// Sheets are only ever appended, a journal's sheets together, when the queue is compacted, and
// those of a journal that the history has already are not appended again: a kill at any moment
// neither loses nor doubles a sheet. A last line without its end was cut short and does not
// count. It keeps the last keptSheets sheets of the last keptDays days; the file is written
// anew without the older ones only when it holds far more, not at every sheet.
namespace PrintHistory {

constexpr int keptSheets = 1000;
constexpr int keptDays = 90;

// Every sheet in the file, oldest first; none when there is no file.
QList<PrintedSheet> read(const QString& path);

// The sheets the history offers, newest first: the last keptSheets of the last keptDays days.
QList<PrintedSheet> listed(const QList<PrintedSheet>& sheets, const QDateTime& now);

// Appends the printed sheets of `journal` that the history lacks; flushed to the disk.
void keep(const QString& path, const PrintJournal::Contents& journal, const QDateTime& now);

} // namespace PrintHistory
