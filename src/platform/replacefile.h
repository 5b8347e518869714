#pragma once

#include <QByteArrayView>
#include <QString>

// Replaces a file's contents with `bytes`: written to a temporary file in the same folder,
// flushed, then renamed over the old one, so a crash never leaves it half-written. Where the
// folder takes no new file (a read-only /etc folder holding a writable settings file), the
// existing file is written over in place instead: truncated, written and flushed to the disk.
// Returns false when neither works.
bool replaceFile(const QString& fileName, QByteArrayView bytes);
