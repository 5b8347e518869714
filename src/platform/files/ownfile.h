#pragma once

#include <QString>
#include <sys/types.h>

// Whether a state file in a folder that other accounts may write to is one this program can take
// for its own. A file counts only as a regular file of the account running the program that no
// other account (group or world) may write: anyone else could have written it.
namespace OwnFile {

enum class Standing {
    Missing,    // no entry under the name
    Own,        // a regular file of this account that no other may write
    Foreign,    // a regular file of another account, or one that others may write
    NotRegular, // a link, a FIFO, a folder
};

Standing of(const QString& path);

// Why the foreign file `path` does not count, in Polish, naming it and its owner.
QString whyForeign(const QString& path);

// The report for a foreign file: why it does not count, that nothing is done with it and the
// labels wait, and what mends it.
QString notUsed(const QString& path);

// The name of the account `uid`, or its number when it has none.
QString accountName(uid_t uid);

} // namespace OwnFile
