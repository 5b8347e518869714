#include "platform/apperror.h"
#include "platform/files/userfolder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ChannelFolder : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    static mode_t mode(const QString& folder)
    {
        struct stat status {};
        ::lstat(QFile::encodeName(folder).constData(), &status);
        return status.st_mode & 07777;
    }
    static void makeFolder(const QString& folder, mode_t mode)
    {
        ASSERT_EQ(::mkdir(QFile::encodeName(folder).constData(), mode), 0);
        ::chmod(QFile::encodeName(folder).constData(), mode);
    }
    // The reason the fallback folder is refused; empty when it is accepted.
    QString refusal(const QString& fallback) const
    {
        try {
            UserFolder::choose(QString(), fallback);
            return {};
        } catch (const AppError& error) {
            return error.text();
        }
    }

    QTemporaryDir m_dir;
};

TEST_F(ChannelFolder, SessionFolderWhenPrivateElseOwnFolderMadePrivate)
{
    makeFolder(path("session"), 0700);
    EXPECT_EQ(UserFolder::choose(path("session"), path("own")), path("session"));
    EXPECT_FALSE(QFile::exists(path("own")));

    ::chmod(QFile::encodeName(path("session")).constData(), 0755);
    EXPECT_EQ(UserFolder::choose(path("session"), path("own")), path("own"));
    EXPECT_EQ(mode(path("own")), 0700u);
    EXPECT_EQ(UserFolder::choose(path("missing"), path("own")), path("own")) << "made once, kept";
}

TEST_F(ChannelFolder, AFolderOthersCouldUseIsRefused)
{
    makeFolder(path("open"), 0755);
    EXPECT_EQ(refusal(path("open")), "Folder " + path("open") +
                                         " nie nadaje się na blokadę programu: folder jest "
                                         "dostępny dla innych użytkowników.");

    makeFolder(path("target"), 0700);
    ASSERT_TRUE(QFile::link(path("target"), path("link")));
    EXPECT_EQ(refusal(path("link")), "Folder " + path("link") +
                                         " nie nadaje się na blokadę programu: to jest "
                                         "dowiązanie symboliczne.");

    if (::getuid() != 0)
        GTEST_SKIP() << "a folder of another user can be arranged as root only";
    makeFolder(path("theirs"), 0700);
    ASSERT_EQ(::chown(QFile::encodeName(path("theirs")).constData(), 65534, 65534), 0);
    EXPECT_EQ(refusal(path("theirs")), "Folder " + path("theirs") +
                                           " nie nadaje się na blokadę programu: folder należy "
                                           "do innego użytkownika.");
}

} // namespace
