#pragma once

#include <QByteArrayView>
#include <QString>

// Replaces a file's contents with `bytes`, whole or not at all: written to a temporary file in
// the same folder, each write and the flush checked, then renamed over the old one and the folder
// flushed, so a crash or a full disk never leaves it half-written. Where the folder takes no new
// file or no rename over this one (a read-only /etc folder holding a writable settings file, a
// sticky folder), the file is written over in place instead, with room for the new contents
// reserved first, so a full disk leaves it as it was. A link is followed; a file that may not be
// written is left alone. Returns false when the file was not replaced, or when it was but the
// folder could not be flushed to the disk.
bool replaceFile(const QString& fileName, QByteArrayView bytes);
