#pragma once

#include "labels/printjournal.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// A sheet a printer accepted, as the history keeps it.
struct PrintedSheet {
    QString journal; // the id of the print journal that recorded it
    SheetRecord sheet;
    // Its number in the history, which no other sheet of the history has and which does not
    // change as sheets are added or the oldest leave.
    int number = 0;

    // The identifiers of its first and last label.
    QString firstIdentifier() const;
    QString lastIdentifier() const;
};

// What names a sheet of a history to another process: the history file, the sheet's number in
// it, and the sheet itself (its journal's id and its sequence there), so that a copy that keeps
// another history, or whose history has changed, prints no other sheet. As texts, in that order.
struct SheetName {
    QString history;
    int number = 0;
    QString journal;
    int sequence = 0;

    QStringList texts() const;
    // A name of no sheet (number 0) when `texts` are none.
    static SheetName fromTexts(const QStringList& texts);
};

// The history of printed sheets "zelk.nal.historia" beside the saved-queue file: every sheet of
// the print journals that a printer accepted, with its labels, so that it can be printed again.
// One line a sheet, the journal's id, the sheet's record as the journal has it, and its number:
//
//   <journal id> <sequence> <from> <to> <lines> … <labels> #<number>
//
// Sheets are only ever appended, a journal's sheets together, when the queue is compacted, and
// those of a journal that the history has already are not appended again: a kill at any moment
// neither loses nor doubles a sheet. A last line without its end was cut short and does not
// count. A line of an earlier version has no number: it gets the one after the line before it
// (the first line, 1), and keeps it once the file is written anew, which stores every number.
// It keeps the last keptSheets sheets of the last keptDays days; the file is written anew
// without the older ones only when it holds far more, not at every sheet.
//
// Whatever its size or content, only the file's last tailBytes are read, and only the last
// keptSheets lines of them parsed; a line longer than lineBytes, or naming more than
// sheetLabels labels (the most a sheet has), counts as damaged and is skipped. Another account's
// file, or one that others may write, is neither read nor written: AppError names it and its
// owner.
namespace PrintHistory {

constexpr int keptSheets = 1000;
constexpr int keptDays = 90;
constexpr qint64 tailBytes = 32 << 20;
constexpr qsizetype lineBytes = 1 << 20;
constexpr int sheetLabels = 20 * 50;

// The last keptSheets sheets in the file that have a number, oldest first; none when there is
// no file.
QList<PrintedSheet> read(const QString& path);

// The sheets the history offers, newest first: the last keptSheets of the last keptDays days.
QList<PrintedSheet> listed(const QList<PrintedSheet>& sheets, const QDateTime& now);

// Appends the printed sheets of `journal` that the history lacks; flushed to the disk.
void keep(const QString& path, const PrintJournal::Contents& journal, const QDateTime& now);

// The temporary file the history is written anew into.
QString tempName(const QString& path);

} // namespace PrintHistory
