#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

// Every target runs in a GUI application on Qt's offscreen platform (fonts and images need
// one), with Qt's own warnings kept out of the fuzzer's output.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication app(*argc, *argv);
    return 0;
}

namespace Fuzz {

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// In memory where the system offers it: saving syncs the file to disk, which on a disk would
// make every run wait for it.
QString scratchFolderTemplate()
{
    const QString memory = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
    return base + QStringLiteral("/zelk-fuzz-XXXXXX");
}

QString scratchFile(const QByteArray& bytes)
{
    static QTemporaryDir folder(scratchFolderTemplate());
    const QString name = folder.filePath(QStringLiteral("input"));
    QFile file(name);
    // The program reads its state files only when no other account may write them.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        fail("cannot write the scratch file");
    return name;
}

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz property failed: %s\n", what);
    std::abort();
}

} // namespace Fuzz
