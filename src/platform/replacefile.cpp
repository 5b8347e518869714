#include "platform/replacefile.h"

#include <QFile>
#include <QSaveFile>
#include <unistd.h>

namespace {

// Not atomic: for a file whose folder takes no temporary file only.
bool rewriteInPlace(const QString& fileName, QByteArrayView bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::ExistingOnly))
        return false;
    return file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush() &&
           ::fsync(file.handle()) == 0;
}

} // namespace

bool replaceFile(const QString& fileName, QByteArrayView bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return rewriteInPlace(fileName, bytes);
    return file.write(bytes.data(), bytes.size()) == bytes.size() && file.commit();
}
