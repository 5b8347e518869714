#include "app/programfolder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// A prefix with the installed desktop entry, as `cmake --install` and the package leave it.
class ProgramFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("usr/bin"))));
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("usr/share/applications"))));
        QFile entry(path(QStringLiteral("usr/share/applications/zelk_nal.desktop")));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    }

    QString path(const QString& relative) const { return m_root.filePath(relative); }

    QTemporaryDir m_root;
};

TEST_F(ProgramFolder, CopyOutsideAnInstallationKeepsItsFilesBesideItself)
{
    const QString userData = path(QStringLiteral("home/zelk_nal"));
    for (const QString& executableDir : {QStringLiteral("build"), QStringLiteral("usr"),
                                         QStringLiteral("usr/bin/sub"), QStringLiteral("bin")}) {
        const QString folder = path(executableDir);
        EXPECT_EQ(programFolder(folder, userData), folder);
    }
    EXPECT_FALSE(QFileInfo::exists(userData)) << "nothing is made for a copy outside";
}

TEST_F(ProgramFolder, InstalledCopyUsesTheUserDataFolderWithItsBufferFolder)
{
    const QString userData = path(QStringLiteral("home/.local/share/zelk_nal"));
    EXPECT_EQ(programFolder(path(QStringLiteral("usr/bin")), userData), userData);
    EXPECT_TRUE(QFileInfo(userData + QStringLiteral("/temp")).isDir());
}

} // namespace
