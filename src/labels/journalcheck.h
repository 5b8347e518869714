#pragma once

#include "labels/printjournal.h"
#include "labels/queuedlines.h"

#include <QStringList>

// A print journal's records checked against the saved-queue file before any of them is trusted,
// so that a damaged or forged record takes no unprinted label off the queue and puts no place off
// the sheet into the settings. A record whose byte range is not empty holds lines of the file:
// the range lies inside the file on line boundaries and holds exactly the lines the record
// names; the first such record starts at the file's first line, and each later one where an
// earlier one ended (a repetition starts again at the first). A record's places lie on a sheet
// of `places` places (0: not known, only their sign is checked; so for a kept record), and its
// first free place is the one after its labels.
namespace JournalCheck {

// Marks each record that fails as never printed, so that its lines stay queued; returns why
// each failed, one text a record.
QStringList distrustFailing(PrintJournal::Contents& journal, const QueuedLines& file, int places);

} // namespace JournalCheck
