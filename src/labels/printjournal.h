#pragma once

#include "platform/files/fileops.h"

#include <optional>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One sheet of a print run as the print journal records it.
struct SheetRecord {
    enum class State {
        Sent,           // recorded before it went out; what became of it is not known yet
        Accepted,       // the printer has it
        Released,       // the printer has it and may print it: printed
        NotPrinted,     // it never reached the printer, or was cancelled there
        ReleasePending, // the printer has it, held, and could not be told to print it yet
    };

    int sequence = 0;
    // The bytes of the saved-queue file that its lines occupy, [from, to).
    qint64 from = 0;
    qint64 to = 0;
    int lines = 0;
    int firstPlace = 1;    // the place of its first label on the sheet
    int firstFree = 1;     // the first free place after it
    bool repeated = false; // its labels had been printed before (a repetition, a reprint)
    QDateTime when{};
    QString printer{};     // the printer's name
    QString destination{}; // where it went, as the printer names it
    QStringList labels{};  // its lines as they were printed
    State state = State::Sent;

    bool printed() const { return state == State::Released || state == State::ReleasePending; }
};

// The print journal "zelk.nal.druk" beside the saved-queue file. Before a sheet goes out, its
// record is appended and flushed; when the printer has it, an "accepted" line; when a held job
// was released, a "released" line. When a run's printed sheets have joined the history and their
// first free place the settings file while the saved-queue file keeps their lines, the run's
// sheets get their settled fates ("released" for printed, "not printed") and a "kept" line, so
// that no later reading asks the evidence about them again (a PDF may have been moved since);
// the journal goes on recording where the printed front of the queue stands. Its first line names
// the saved-queue file it belongs to (the file's identity): a journal beside another file is left
// over from a run whose printed lines have left the queue already; and the journal's own id, which
// no other journal has, so that its sheets are kept in the history once. The lines are text, one
// record each:
//
//   zelk_nal druk 1 <identity> <id>
//   S <sequence> <from> <to> <lines> <first place> <first free> <repeated> <when> <printer>
//   <destination> <labels> A <sequence> R <sequence> N <sequence> K <sequence>
//
// with the texts percent-encoded, the labels each on its own and joined by commas. A record of
// an earlier version has no labels, and its journal no id. A last line without its end was cut
// short and does not count.
//
// A kill loses nothing once written; a power cut loses what was not flushed. A flush of the file
// flushes every line before it too, so only lines after the last flush can be lost. Each flush
// guards one thing:
// - the header, with the folder: the journal exists before any record of it is trusted;
// - a sheet's record, before anything of the sheet exists: a sheet on paper or in the folder
//   always has a record, settled by the evidence when no later line survived;
// - a held job's "accepted" line, before the job is released: a job that may print is never
//   settled as one the printer never had (which would cancel it, or print it again).
// A PDF's "accepted" line and every "released" line are not flushed of their own; they reach
// the disk with the next flush. Losing them is harmless: the PDF, flushed with its folder before
// the line was written, settles its sheet as printed; a held job with an "accepted" line is
// released again, which changes nothing. The "kept" lines are flushed: after them no evidence
// is asked again.
namespace PrintJournal {

struct Contents {
    QString queueIdentity;
    QString id;
    QList<SheetRecord> sheets;
    // The sheets up to this sequence number are in the history, and the first free place after
    // them in the settings file.
    int kept = 0;
};

// The journal's records, or none when there is no journal (or only a header cut short).
std::optional<Contents> read(const QString& path);

// Starts a journal for the saved-queue file of that identity; flushed with its folder. Returns
// its contents so far.
Contents create(const QString& path, const QString& queueIdentity);

// Appends a line, flushed to the disk.
void appendSheet(const QString& path, const SheetRecord& sheet);
void appendState(const QString& path, int sequence, SheetRecord::State state, FileOps::Flush flush);
// Marks `sheets`, settled, kept: each one's fate, then the kept line, in one flushed append.
void appendKept(const QString& path, const QList<SheetRecord>& sheets);

// A sheet's record as its line holds it after the mark, and back from the line's fields, the
// mark first (the state is not part of it).
QByteArray sheetFields(const SheetRecord& sheet);
std::optional<SheetRecord> parseSheet(const QList<QByteArray>& fields);

} // namespace PrintJournal
