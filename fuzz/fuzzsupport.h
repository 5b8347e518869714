#pragma once

#include <cstddef>
#include <cstdint>
#include <QByteArray>
#include <QString>

// What the fuzz targets share: a Qt application to run in (started by the LLVMFuzzerInitialize
// defined beside these helpers, for every target), and a scratch file for readers that take
// only a file name.
namespace Fuzz {

QByteArray bytesOf(const uint8_t* data, size_t size);

// Replaces the scratch file's contents with `bytes` and returns its name. The file lives in a
// private folder that is removed when the process ends.
QString scratchFile(const QByteArray& bytes);

// Stops the run with a message: a property that must hold did not.
[[noreturn]] void fail(const char* what);

} // namespace Fuzz
