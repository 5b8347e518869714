#include "failat.h"
#include "fulldisk.h"
#include "platform/replacefile.h"

#include <gtest/gtest.h>
#include <optional>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A settings file is replaced whole or not at all, and a replacement that may not have reached
// the disk says so.
struct Failure {
    const char* name;
    long step; // of the replacement's file changes: write, flush, rename, the folder's flush
    int error;
    bool replaced; // the new contents stand under the name afterwards
    bool reported; // replaceFile returns false
};

void PrintTo(const Failure& failure, std::ostream* out)
{
    *out << failure.name;
}

class ReplaceFile : public ::testing::TestWithParam<Failure> {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("zelk_nal.ini")); }
    std::string contents() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(none)";
    }

    QTemporaryDir m_dir;
};

const QByteArray oldBytes = "[Sposób Wydruku]\r\nPierwsza Wolna=7\r\n";
const QByteArray newBytes = QByteArray("[Sposób Wydruku]\r\nPierwsza Wolna=19\r\n").repeated(40);

TEST_P(ReplaceFile, LeavesTheOldOrTheNewContentsWhole)
{
    const Failure failure = GetParam();
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(oldBytes);
    file.close();

    bool result = false;
    {
        std::optional<FullDisk> full;
        if (failure.step == 0)
            full.emplace(oldBytes.size() * 2);
        zelk_fail_at(qPrintable(m_dir.path()), failure.step, failure.error);
        result = replaceFile(path(), newBytes);
        zelk_fail_at(nullptr, 0);
    }
    EXPECT_EQ(result, !failure.reported);
    EXPECT_EQ(contents(), (failure.replaced ? newBytes : oldBytes).toStdString());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"zelk_nal.ini"})
        << "no temporary file stays";
}

INSTANTIATE_TEST_SUITE_P(Failures, ReplaceFile,
                         ::testing::Values(Failure{"DiskFull", 0, 0, false, true},
                                           Failure{"WriteFails", 1, EIO, false, true},
                                           Failure{"FlushFails", 2, EIO, false, true},
                                           Failure{"RenameFails", 3, EIO, false, true},
                                           Failure{"FolderFlushFails", 4, EIO, true, true},
                                           Failure{"FolderRefusesTheRename", 3, EPERM, true, false},
                                           Failure{"NothingFails", 99, EIO, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
