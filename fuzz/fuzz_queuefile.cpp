// The buffer and saved-queue files: split into lines in both encodings, each line split into
// identifier and call number. Lines read as UTF-8 must survive writing and reading again.
#include "fuzzsupport.h"
#include "labels/labelline.h"
#include "labels/queuefile.h"

#include <QStringList>

namespace {

const QString identifierPattern = QStringLiteral("99-999999999");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    QueueFile::parse(bytes, false);
    const QStringList lines = QueueFile::parse(bytes, true);
    if (QueueFile::parse(QueueFile::serialize(lines, true), true) != lines)
        Fuzz::fail("UTF-8 lines change when written and read again");
    for (const QString& line : lines) {
        const LabelLine label = splitLabelLine(line);
        formatIdentifier(identifierPattern, label.identifier);
        formatIdentifier(label.callNumber, label.identifier);
    }
    return 0;
}
