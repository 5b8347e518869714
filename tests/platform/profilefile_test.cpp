#include "fulldisk.h"
#include "platform/apperror.h"
#include "platform/files/profilefile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <optional>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), bytes.size());
}

// Takes the right to write away from a file or folder (a folder then takes no new file) for the
// object's lifetime: by its permissions, and for root, whom permissions do not stop, by the file
// system's immutable flag.
class WriteProtected {
public:
    explicit WriteProtected(QString path)
        : m_path(std::move(path))
        , m_permissions(QFile::permissions(m_path))
    {
        QFile::setPermissions(m_path, m_permissions & ~(QFile::WriteOwner | QFile::WriteUser |
                                                        QFile::WriteGroup | QFile::WriteOther));
        if (!holds())
            m_immutable = setImmutable(true);
    }
    ~WriteProtected()
    {
        if (m_immutable)
            setImmutable(false);
        QFile::setPermissions(m_path, m_permissions);
    }

    bool holds() const { return ::access(QFile::encodeName(m_path).constData(), W_OK) != 0; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QString m_path;
    QFile::Permissions m_permissions;
    bool m_immutable = false;
};

ino_t inode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

class ProfileFileTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("test.ini")); }
    ProfileFile fileWith(QByteArrayView bytes)
    {
        writeBytes(path(), bytes);
        return ProfileFile(path());
    }

    QTemporaryDir m_dir;
};

TEST_F(ProfileFileTest, MatchesSectionAndKeyNamesWithoutRegardToCase)
{
    const ProfileFile file = fileWith("[Naklejki]\r\n  \xC5\x9A"
                                      "CIE\xC5\xBBKA =  /var/zelk/ \r\n");
    EXPECT_EQ(file.readString(u"NAKLEJKI", u"ścieżka"), QStringLiteral("/var/zelk/"));
    EXPECT_EQ(file.readString(u"naklejki", u"Ścieżka"), QStringLiteral("/var/zelk/"));
}

TEST_F(ProfileFileTest, ReadsValuesAsTheServiceReturnsThem)
{
    const QString longValue(3000, u'x');
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("\"a b\""), QStringLiteral("a b")},
        {QStringLiteral("' q '"), QStringLiteral(" q ")},
        {QStringLiteral("\"x'"), QStringLiteral("\"x'")},
        {QStringLiteral("\""), QStringLiteral("\"")},
        {QStringLiteral("\"\""), QString()},
        {QStringLiteral("\t spaced out \t"), QStringLiteral("spaced out")},
        {QStringLiteral("a=b"), QStringLiteral("a=b")},
        {longValue, longValue.left(2047)},
    };
    QString text = QStringLiteral("[S]\n");
    for (qsizetype i = 0; i < cases.size(); ++i)
        text += QStringLiteral("k%1=%2\n").arg(i).arg(cases[i].first);
    const ProfileFile file = fileWith(text.toUtf8());
    for (qsizetype i = 0; i < cases.size(); ++i)
        EXPECT_EQ(file.readString(u"S", QStringLiteral("k%1").arg(i)), cases[i].second)
            << cases[i].first.toStdString();
}

TEST_F(ProfileFileTest, MissingKeysGiveTheFallback)
{
    const ProfileFile file = fileWith("orphan=1\n[S]\nbare\nk=first\nk=second\n[s]\nlater=2\n");
    EXPECT_EQ(file.readString(u"S", u"k", QStringLiteral("x")), QStringLiteral("first"));
    EXPECT_EQ(file.readString(u"S", u"later", QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(file.readString(u"S", u"bare", QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(file.readString(u"", u"orphan", QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(file.readString(u"T", u"k", QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(ProfileFile(m_dir.filePath(QStringLiteral("none.ini"))).readInteger(u"S", u"k", 7),
              7);
}

// The same file in each encoding: read, then written back in that encoding.
struct EncodingCase {
    const char* name;
    QByteArray (*encode)(const QString& text);
};

class ProfileFileEncoding : public ProfileFileTest,
                            public ::testing::WithParamInterface<EncodingCase> {};

QByteArray windows1250(const QString& text)
{
    // The Polish letters of these tests, byte for byte.
    const QList<std::pair<char16_t, char>> letters = {
        {u'ś', '\x9C'}, {u'ć', '\xE6'}, {u'ż', '\xBF'}, {u'ó', '\xF3'}, {u'ł', '\xB3'}};
    QByteArray bytes;
    for (QChar ch : text) {
        char byte = ch.toLatin1();
        for (auto [letter, code] : letters)
            if (ch == QChar(letter))
                byte = code;
        bytes += byte;
    }
    return bytes;
}

TEST_P(ProfileFileEncoding, ReadsAndWritesBackInTheFilesEncoding)
{
    const QString before = QStringLiteral("[Wymiary Nalepki]\r\nSzerokość=62\r\n; żółć\r\n");
    ProfileFile file = fileWith(GetParam().encode(before));
    EXPECT_EQ(file.readInteger(u"WYMIARY NALEPKI", u"SZEROKOŚĆ", 0), 62);

    file.writeInteger(u"Wymiary Nalepki", u"Wysokość", 31);
    file.save();
    const QString after = before + QStringLiteral("Wysokość=31\r\n");
    EXPECT_EQ(readBytes(path()), GetParam().encode(after));
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ProfileFileEncoding,
    ::testing::Values(EncodingCase{"Windows1250", windows1250},
                      EncodingCase{"Utf16WithBom",
                                   [](const QString& text) {
                                       return QByteArray("\xFF\xFE") +
                                              QByteArray(
                                                  QStringEncoder(QStringEncoder::Utf16LE)(text));
                                   }},
                      EncodingCase{"Utf8", [](const QString& text) { return text.toUtf8(); }},
                      EncodingCase{"Utf8WithBom",
                                   [](const QString& text) {
                                       return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
                                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileFileTest, WritesKeepEveryOtherLine)
{
    ProfileFile file = fileWith("; settings\n[A]\n  Key = old ; not a comment\nother=1\n\n"
                                "[B]\n x=y\n");
    file.writeString(u"a", u"KEY", QStringLiteral("new"));
    file.writeString(u"A", u"added", QStringLiteral("2"));
    file.writeString(u"C", u"k", QStringLiteral("3"));
    file.writeString(u"C", u"k", QStringLiteral("4"));
    file.save();
    EXPECT_EQ(readBytes(path()), QByteArray("; settings\r\n[A]\r\nKEY=new\r\nother=1\r\nadded=2\r\n"
                                            "\r\n[B]\r\n x=y\r\n[C]\r\nk=4\r\n"));
}

TEST_F(ProfileFileTest, AbsentFileIsCreatedOnSave)
{
    ProfileFile file(path());
    EXPECT_FALSE(file.exists());
    file.writeBool(u"A", u"on", true);
    file.writeString(u"B", u"line", QStringLiteral("two\r\nlines"));
    file.save();
    EXPECT_TRUE(file.exists());
    EXPECT_EQ(readBytes(path()), QByteArray("[A]\r\non=1\r\n[B]\r\nline=two  lines\r\n"));
}

TEST_F(ProfileFileTest, TextOutsideTheCodePageIsWrittenAsUtf8)
{
    ProfileFile file = fileWith("[A]\r\nk=\xBF\r\n"); // "ż" in Windows-1250
    file.writeString(u"A", u"logo", QStringLiteral("/home/Ψ/logo.bmp"));
    file.save();
    EXPECT_EQ(readBytes(path()),
              QStringLiteral("[A]\r\nk=ż\r\nlogo=/home/Ψ/logo.bmp\r\n").toUtf8());
    const ProfileFile reread(path());
    EXPECT_EQ(reread.readString(u"A", u"k"), QStringLiteral("ż"));
    EXPECT_EQ(reread.readString(u"A", u"logo"), QStringLiteral("/home/Ψ/logo.bmp"));
}

TEST_F(ProfileFileTest, FailedSaveNamesTheFile)
{
    const QString name = m_dir.filePath(QStringLiteral("missing/zelk_nal.ini"));
    ProfileFile file(name);
    file.writeInteger(u"A", u"k", 1);
    try {
        file.save();
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("Unable to write to ") + name);
    }
}

// A settings file kept writable in a folder that is not, such as /etc/zelk/: no temporary file
// can be made beside it, so it is written over in place.
TEST_F(ProfileFileTest, WritableFileInAClosedFolderIsWrittenInPlace)
{
    ProfileFile file = fileWith("; kept\r\n[A]\r\nk=1000\r\nother=x\r\n");
    const ino_t before = inode(path());
    file.writeInteger(u"A", u"k", 2);
    {
        const WriteProtected folder(m_dir.path());
        if (!folder.holds())
            GTEST_SKIP() << "cannot take the right to write away from a folder here";
        EXPECT_NO_THROW(file.save());
    }
    EXPECT_EQ(readBytes(path()), QByteArray("; kept\r\n[A]\r\nk=2\r\nother=x\r\n"));
    EXPECT_EQ(inode(path()), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("test.ini")});
}

TEST_F(ProfileFileTest, FileAndFolderBothClosedIsReportedAndKeepsTheFile)
{
    ProfileFile file = fileWith("[A]\r\nk=1\r\n");
    file.writeInteger(u"A", u"k", 2);
    {
        const WriteProtected folder(m_dir.path());
        const WriteProtected settings(path());
        if (!folder.holds() || !settings.holds())
            GTEST_SKIP() << "cannot take the right to write away here";
        try {
            file.save();
            ADD_FAILURE() << "no error";
        } catch (const AppError& error) {
            EXPECT_EQ(error.text(), QStringLiteral("Unable to write to ") + path());
        }
    }
    EXPECT_EQ(readBytes(path()), QByteArray("[A]\r\nk=1\r\n"));
}

// A full disk leaves the file as it was, whether it is replaced or written over in place.
TEST_F(ProfileFileTest, AFullDiskLeavesTheFileAsItWas)
{
    for (const bool closedFolder : {false, true}) {
        SCOPED_TRACE(closedFolder ? "written over in place" : "replaced");
        ProfileFile file = fileWith("[A]\r\nk=1\r\n");
        file.writeString(u"A", u"k", QString(100, u'x'));
        std::optional<WriteProtected> folder;
        if (closedFolder && !folder.emplace(m_dir.path()).holds())
            GTEST_SKIP() << "cannot take the right to write away from a folder here";
        const FullDisk full(20);
        EXPECT_THROW(file.save(), AppError);
        EXPECT_EQ(readBytes(path()), QByteArray("[A]\r\nk=1\r\n"));
    }
}

TEST_F(ProfileFileTest, GarbageIsReadAndWrittenWithoutHarm)
{
    QByteArray garbage(1 << 16, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& byte : garbage)
        byte = static_cast<char>(random.bounded(256));
    garbage[0] = '\0';
    garbage += "\n[" + QByteArray(4 << 20, '=') + "\n" + QByteArray(4 << 20, '[');
    for (const QByteArray& bytes :
         {garbage, QByteArray("\xFF\xFE\x41", 3), QByteArray(1000, '\0')}) {
        ProfileFile file = fileWith(bytes);
        EXPECT_EQ(file.readInteger(u"S", u"k", 5), 5);
        file.writeInteger(u"S", u"k", 9);
        file.save();
        EXPECT_EQ(ProfileFile(path()).readInteger(u"S", u"k", 5), 9);
    }
}

} // namespace
