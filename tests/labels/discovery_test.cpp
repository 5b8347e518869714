#include "labels/discovery.h"
#include "platform/files/profilefile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The executable's folder "bin/" and a settings folder "conf/" in a fresh temporary folder.
class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("conf"));
    }

    QString programDir() const { return m_dir.path() + QStringLiteral("/bin/"); }
    QString confDir() const { return m_dir.path() + QStringLiteral("/conf/"); }

    static void write(const QString& path, const QString& text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    Paths locate(const QStringList& arguments = {}) const
    {
        Paths paths = locateSettingsFile(m_dir.path() + QStringLiteral("/bin"), arguments);
        locateBuffer(paths, ProfileFile(paths.settingsFile()));
        return paths;
    }

    QTemporaryDir m_dir;
};

TEST_F(DiscoveryTest, WithoutFilesTheBufferIsInTempBesideTheProgram)
{
    const Paths paths = locate();
    EXPECT_EQ(paths.CurrentPath, programDir());
    EXPECT_EQ(paths.LocalPath, programDir());
    EXPECT_EQ(paths.IniName, QStringLiteral("zelk_nal.ini"));
    EXPECT_EQ(paths.FilePath, programDir() + QStringLiteral("temp/"));
    EXPECT_EQ(paths.NazwaPliku, programDir() + QStringLiteral("temp/naklejka.dat"));
}

TEST_F(DiscoveryTest, FirstArgumentNamesTheSettingsFileOrItsFolder)
{
    const Paths file = locate({confDir() + QStringLiteral("inne.ini")});
    EXPECT_EQ(file.LocalPath, confDir());
    EXPECT_EQ(file.IniName, QStringLiteral("inne.ini"));

    const Paths folder = locate({confDir()});
    EXPECT_EQ(folder.LocalPath, confDir());
    EXPECT_EQ(folder.IniName, QStringLiteral("zelk_nal.ini"));

    const Paths bare = locate({QStringLiteral("inne.ini")});
    EXPECT_EQ(bare.LocalPath, QString());
    EXPECT_EQ(bare.IniName, QStringLiteral("inne.ini"));
}

TEST_F(DiscoveryTest, HostFilesAreLookedForBesideTheSettingsFile)
{
    write(confDir() + QStringLiteral("Zelk.ini"),
          QStringLiteral("[NAKLEJKI]\nPlik=kody.txt\n[KOLEKCJA]\nścieżka=/srv/zelk/\n"));
    const Paths paths = locate({confDir()});
    EXPECT_EQ(paths.NazwaPliku, QStringLiteral("/srv/zelk/kody.txt"));
    // Not beside the program: the default buffer folder still is.
    EXPECT_EQ(locate().FilePath, programDir() + QStringLiteral("temp/"));
}

TEST_F(DiscoveryTest, TheMainHostFileIsFoundUnderEitherSpelling)
{
    write(programDir() + QStringLiteral("zelk.ini"),
          QStringLiteral("[KOLEKCJA]\nścieżka=/srv/zelk/\n"));
    EXPECT_EQ(locate().NazwaPliku, QStringLiteral("/srv/zelk/naklejka.dat"));
}

TEST_F(DiscoveryTest, ASettingsFileWithoutTheFolderKeyGivesTheDefaultFolder)
{
    write(programDir() + QStringLiteral("zelk_nal.ini"),
          QStringLiteral("[NAKLEJKI]\nPlik=a.txt\n"));
    write(programDir() + QStringLiteral("Zelk.ini"), QStringLiteral("[KOLEKCJA]\nścieżka=/srv/\n"));
    EXPECT_EQ(locate().NazwaPliku, programDir() + QStringLiteral("temp/a.txt"));
}

TEST_F(DiscoveryTest, AnEmptyFolderPassesToTheNextFileWhoseNameCountsAlready)
{
    write(programDir() + QStringLiteral("zelk_nal.ini"),
          QStringLiteral("[NAKLEJKI]\nPlik=a.txt\nścieżka=\n"));
    write(programDir() + QStringLiteral("Zelk.ini"),
          QStringLiteral("[NAKLEJKI]\nPlik=b.txt\n[KOLEKCJA]\nścieżka=\n"));
    write(programDir() + QStringLiteral("zelk_tcp.ini"),
          QStringLiteral("[NAKLEJKI]\nPlik=c.txt\n"));
    write(programDir() + QStringLiteral("zelk-klv.ini"),
          QStringLiteral("[KOLEKCJA]\nścieżka=/srv/klv/\n"));
    // zelk_tcp.ini has no folder key, so its default folder counts as found.
    EXPECT_EQ(locate().NazwaPliku, programDir() + QStringLiteral("temp/c.txt"));

    QFile::remove(programDir() + QStringLiteral("zelk_tcp.ini"));
    EXPECT_EQ(locate().NazwaPliku, QStringLiteral("/srv/klv/naklejka.dat"));
}

TEST_F(DiscoveryTest, WhenNoFileNamesAFolderTheSettingsFileIsReadAgain)
{
    write(programDir() + QStringLiteral("zelk_nal.ini"),
          QStringLiteral("[NAKLEJKI]\nPlik=a.txt\nścieżka=\n"));
    write(programDir() + QStringLiteral("kalvinor_tcp.ini"),
          QStringLiteral("[NAKLEJKI]\nPlik=k.txt\n[KOLEKCJA]\nścieżka=\n"));
    const Paths paths = locate();
    EXPECT_EQ(paths.FilePath, QString());
    EXPECT_EQ(paths.NazwaPliku, QStringLiteral("a.txt"));
}

TEST_F(DiscoveryTest, IniMarkStandsForTheProgramsFolder)
{
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("%INI%bufor/"), programDir() + QStringLiteral("bufor/")},
        {QStringLiteral("%INI%"), programDir()},
        {QStringLiteral("%ini%bufor/"), QStringLiteral("%ini%bufor/")},
        {QStringLiteral("/x/%INI%/"), QStringLiteral("/x/%INI%/")},
    };
    for (const auto& [folder, expected] : cases) {
        write(programDir() + QStringLiteral("zelk_nal.ini"),
              QStringLiteral("[NAKLEJKI]\nścieżka=%1\n").arg(folder));
        EXPECT_EQ(locate().FilePath, expected) << folder.toStdString();
    }
    QFile::remove(programDir() + QStringLiteral("zelk_nal.ini"));
    write(programDir() + QStringLiteral("Zelk.ini"),
          QStringLiteral("[KOLEKCJA]\nścieżka=%INI%h/\n"));
    EXPECT_EQ(locate().FilePath, programDir() + QStringLiteral("h/"));
}

TEST(SplitPath, CutsAfterTheLastSeparator)
{
    EXPECT_EQ(splitPath(QStringLiteral("/a/b/c.dat")).folder, QStringLiteral("/a/b/"));
    EXPECT_EQ(splitPath(QStringLiteral("/a/b/c.dat")).name, QStringLiteral("c.dat"));
    EXPECT_EQ(splitPath(QStringLiteral("c.dat")).folder, QString());
    EXPECT_EQ(splitPath(QStringLiteral("/a/")).name, QString());
}

} // namespace
