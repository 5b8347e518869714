#pragma once

#include <QString>

// Why this process may not put a new file in place of `path` (write one beside it and rename it
// over it, or create it), in Polish, naming the file or folder and its owner; empty when it may.
// A folder with the sticky bit (mode 1777) lets only the owner of a file, or of the folder,
// replace or remove it.
QString whyNotReplaceable(const QString& path);
