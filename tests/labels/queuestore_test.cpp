#include "failat.h"
#include "fulldisk.h"
#include "labellines.h"
#include "labels/printhistory.h"
#include "labels/queuefile.h"
#include "labels/queuestore.h"
#include "platform/apperror.h"
#include "platform/files/profilefile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QueuedLines restored(QueueStore& store, const QueueLocation& location)
{
    QueuedLines lines;
    store.restore(location, lines);
    return lines;
}

class Store : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString file(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QueueLocation location() const
    {
        return {m_dir.path() + '/', file("naklejka.dat"), true, file("zelk_nal.ini")};
    }

    static void write(const QString& path, const QStringList& lines)
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QueueFile::serialize(lines, true));
    }
    static QStringList read(const QString& path)
    {
        QFile in(path);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << qPrintable(path);
        return QueueFile::parse(in.readAll(), true);
    }
    QByteArray bytes(const char* name) const
    {
        QFile in(file(name));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << name;
        return in.readAll();
    }
    void writeBytes(const char* name, const QByteArray& bytes) const
    {
        QFile out(file(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    ino_t inode(const char* name) const
    {
        struct stat status {};
        EXPECT_EQ(::lstat(QFile::encodeName(file(name)).constData(), &status), 0) << name;
        return status.st_ino;
    }
    // The folder's files but the queue lock, which stays for good.
    QStringList files() const
    {
        QStringList names =
            QDir(m_dir.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        names.removeOne(QStringLiteral("zelk.nal.lock"));
        return names;
    }

    QTemporaryDir m_dir;
    QueueStore store;
    QueuedLines queue;
};

TEST_F(Store, TakesTheBufferOntoTheQueueAndMirrorsIt)
{
    write(file("zelk.nal"), numberedLines(1, 5));
    queue = restored(store, location());
    write(file("naklejka.dat"), QStringList{"", "   "} + numberedLines(6, 9));

    EXPECT_TRUE(QueueStore::hasWaitingFiles(location()));
    store.take(location(), queue);

    EXPECT_EQ(queue, numberedLines(1, 9));
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(1, 9));
    EXPECT_EQ(files(), QStringList{"zelk.nal"});
    EXPECT_FALSE(QueueStore::hasWaitingFiles(location()));

    QFile::remove(file("zelk.nal")); // by someone else, while the program runs
    write(file("naklejka.dat"), numberedLines(10, 10));
    store.take(location(), queue);
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(1, 10)) << "a missing file is written whole";
}

TEST_F(Store, ZeroLengthBufferGoesAndAddsNothing)
{
    write(file("naklejka.dat"), {});
    store.take(location(), queue);
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(Store, SaveWritesCrLfLinesAndAnEmptyQueueAsAnEmptyFile)
{
    queue = numberedLines(1, 3);
    store.save(location(), queue);
    QFile saved(file("zelk.nal"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count("\r\n"), 3);
    EXPECT_EQ(queue, numberedLines(1, 3));

    QueuedLines empty;
    store.save(location(), empty);
    EXPECT_EQ(QFileInfo(file("zelk.nal")).size(), 0);
    EXPECT_EQ(restored(store, location()), QStringList());
    EXPECT_EQ(files(), QStringList{"zelk.nal"});
}

TEST_F(Store, ABufferLockedByAWriterWaitsForTheNextTick)
{
    write(file("naklejka.dat"), numberedLines(1, 2));
    const int writer = ::open(QFile::encodeName(file("naklejka.dat")).constData(), O_WRONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    store.take(location(), queue);
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_EQ(files(), QStringList{"naklejka.dat"});

    ::close(writer);
    store.take(location(), queue);
    EXPECT_EQ(queue, numberedLines(1, 2));
}

TEST_F(Store, ABufferThatIsNoRegularFileIsReportedByNameAndLeftAlone)
{
    const QString notAFile =
        "Nie można przejąć pliku " + file("naklejka.dat") + ": to nie jest zwykły plik.";
    const auto failure = [this] {
        try {
            store.take(location(), queue);
        } catch (const AppError& error) {
            return error.text();
        }
        return QString();
    };
    ASSERT_TRUE(QDir().mkdir(file("naklejka.dat")));
    EXPECT_EQ(failure(), notAFile);
    ASSERT_TRUE(QDir().rmdir(file("naklejka.dat")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("naklejka.dat")).constData(), 0600), 0);
    EXPECT_EQ(failure(), notAFile) << "and a FIFO does not block";
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_EQ(files(), QStringList{"naklejka.dat"});
}

TEST_F(Store, LargeBuffersAreTakenWhole)
{
    // A line too long to print is taken whole too, into the set-aside file.
    const QString hugeLine(10 << 20, QLatin1Char('7'));
    write(file("naklejka.dat"), {hugeLine});
    const QList<SetAsideLine> setAside = store.take(location(), queue);
    ASSERT_EQ(setAside.size(), 1);
    EXPECT_EQ(setAside[0].line, hugeLine);
    EXPECT_EQ(read(file("zelk.nal.odrzucone")), QStringList{hugeLine});
    EXPECT_TRUE(queue.isEmpty());

    write(file("naklejka.dat"), numberedLines(1, 1000000));
    store.take(location(), queue);
    EXPECT_EQ(queue.size(), 1000000);
    EXPECT_EQ(queue.at(999999), numberedLines(1000000, 1000000).first());
    EXPECT_EQ(files(), (QStringList{"zelk.nal", "zelk.nal.odrzucone"}));
}

// The bytes this process has handed to write(2) so far.
qint64 bytesWritten()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("wchar: "))
            return line.sliced(7).toLongLong();
    return -1;
}

// A line that joins a long queue is appended to the saved file, which keeps its bytes and its
// inode: the queue is not written again, nor moved whole in memory to make room for it.
TEST_F(Store, ALineJoiningALongQueueIsAppendedToTheSavedFile)
{
    write(file("zelk.nal"), numberedLines(1, 100000));
    const QByteArray before = bytes("zelk.nal");
    const ino_t savedInode = inode("zelk.nal");
    queue = restored(store, location());
    EXPECT_GE(queue.bytes().capacity() - queue.bytes().size(), 1024);
    write(file("naklejka.dat"), numberedLines(100001, 100001));

    const qint64 writtenBefore = bytesWritten();
    store.take(location(), queue);
    EXPECT_LT(bytesWritten() - writtenBefore, 1024);

    const QByteArray after = bytes("zelk.nal");
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_EQ(after.sliced(before.size()),
              QueueFile::serialize(numberedLines(100001, 100001), true));
    EXPECT_EQ(inode("zelk.nal"), savedInode);
    EXPECT_EQ(queue, numberedLines(1, 100001));
    EXPECT_EQ(files(), QStringList{"zelk.nal"});
}

// A saved file edited by hand may lack its last line's end; no two lines join.
TEST_F(Store, AppendedLinesStartOnALineOfTheirOwn)
{
    writeBytes("zelk.nal", "11|a");
    queue = restored(store, location());
    write(file("naklejka.dat"), {"22|b"});
    store.take(location(), queue);
    EXPECT_EQ(bytes("zelk.nal"), "11|a\r\n22|b\r\n");
}

// The encoding setting may change while labels wait: every line reads back right, whichever
// encoding it came in and the saved file was in (UTF-8 or plain ASCII at start, then the
// encoding of a line appended or of a save).
TEST_F(Store, LinesOfEitherEncodingJoinTheSavedFile)
{
    for (const QString first : {"000000000001|Lodz", "000000000001|Łódź"}) {
        SCOPED_TRACE(qPrintable(first));
        writeBytes("zelk.nal", QueueFile::serialize({first}, true));
        QueueLocation location = this->location();
        QueueStore store;
        queue = restored(store, location);
        const auto take = [&](const QString& line, bool utf8) {
            location.utf8 = utf8;
            writeBytes("naklejka.dat", QueueFile::serialize({line}, utf8));
            store.take(location, queue);
            EXPECT_EQ(QueuedLines::fromFile(bytes("zelk.nal")), QStringList(queue));
        };
        take("000000000002|Ćma", false);
        take("000000000003|Żółw", true);
        take("000000000004|Łoś", false);
        location.utf8 = true;
        store.save(location, queue);
        take("000000000005|Ęę", false);
        EXPECT_EQ(queue.size(), 5);
    }
}

// The files a crash can leave at each step of a fold or a save, and what the next start and
// its first tick make of them: every line exactly once. Before the crash, zelk.nal held lines
// 1..4 and the taken buffer lines 5..6; a new buffer holds lines 7..8. The saved queue is read
// at start, or only by the first tick when another process held the queue at start.
struct CrashCase {
    const char* name;
    bool taken = true;            // naklejka.dat.taken holds lines 5..6
    const char* marker = nullptr; // what zelk.nal.dopisek holds, if it is there
    QByteArray appended{};        // what of lines 5..6 reached the end of zelk.nal
    bool fold = false;            // zelk.nal.fold, of an earlier version, holds lines 1..6
    bool temp = false;            // zelk.nal.tmp holds a partial write
    QStringList expected = numberedLines(1, 8);
};

const char* const sizesBefore = "76 0\n"; // lines 1..4 in zelk.nal, no set-aside file
const QByteArray lines5To6 = QueueFile::serialize(numberedLines(5, 6), true);

class StoreAfterACrash : public Store,
                         public ::testing::WithParamInterface<std::tuple<CrashCase, bool>> {};

TEST_P(StoreAfterACrash, LosesAndDoublesNothing)
{
    const auto& [c, readAtStart] = GetParam();
    writeBytes("zelk.nal", QueueFile::serialize(numberedLines(1, 4), true) + c.appended);
    if (c.marker)
        writeBytes("zelk.nal.dopisek", c.marker);
    if (c.fold)
        write(file("zelk.nal.fold"), numberedLines(1, 6));
    if (c.taken)
        write(file("naklejka.dat.taken"), numberedLines(5, 6));
    if (c.temp)
        write(file("zelk.nal.tmp"), numberedLines(1, 1));
    write(file("naklejka.dat"), numberedLines(7, 8));

    if (readAtStart)
        queue = restored(store, location());
    store.take(location(), queue);

    EXPECT_EQ(queue, c.expected);
    EXPECT_EQ(read(file("zelk.nal")), c.expected);
    EXPECT_EQ(files(), QStringList{"zelk.nal"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoreAfterACrash,
    ::testing::Combine(
        ::testing::Values(
            CrashCase{.name = "AfterTakingTheBuffer"},
            CrashCase{.name = "WhileCreatingTheMarker", .marker = ""},
            CrashCase{.name = "WhileWritingTheMarker", .marker = "76"},
            CrashCase{.name = "BeforeTheAppend", .marker = sizesBefore},
            CrashCase{
                .name = "DuringTheAppend", .marker = sizesBefore, .appended = lines5To6.first(25)},
            CrashCase{.name = "AfterTheAppend", .marker = sizesBefore, .appended = lines5To6},
            CrashCase{.name = "AfterTheCommit",
                      .taken = false,
                      .marker = sizesBefore,
                      .appended = lines5To6},
            CrashCase{.name = "BeforeTheCommitOfAnOldFold", .fold = true},
            CrashCase{.name = "AfterTheCommitOfAnOldFold", .taken = false, .fold = true},
            CrashCase{.name = "DuringASave",
                      .taken = false,
                      .temp = true,
                      .expected = numberedLines(1, 4) + numberedLines(7, 8)}),
        ::testing::Bool()),
    [](const auto& info) {
        // A structured binding's comma would split the macro's arguments.
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "_ReadAtStart" : "_ReadByTheFirstTick");
    });

TEST_F(Store, AFoldThatCannotBeWrittenKeepsTheTakenFile)
{
    write(file("naklejka.dat"), numberedLines(1, 3));
    {
        const FullDisk full(48); // room for the buffer below, not for the three lines
        try {
            store.take(location(), queue);
            FAIL() << "the failed write is reported";
        } catch (const AppError& error) {
            EXPECT_TRUE(error.text().startsWith("Nie można dopisać do pliku " + file("zelk.nal")))
                << qPrintable(error.text());
        }
        EXPECT_TRUE(queue.isEmpty());
        EXPECT_EQ(files(), (QStringList{"naklejka.dat.taken", "zelk.nal"}));
        EXPECT_EQ(QFileInfo(file("zelk.nal")).size(), 0) << "the part appended is taken back";
        write(file("naklejka.dat"), numberedLines(4, 5));
        EXPECT_THROW(store.take(location(), queue), AppError);
        EXPECT_TRUE(queue.isEmpty());
    }
    store.take(location(), queue);
    EXPECT_EQ(queue, numberedLines(1, 5));
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(1, 5));
}

TEST_F(Store, AFailedSaveKeepsTheQueueAndNamesTheFile)
{
    queue = numberedLines(1, 2);
    const QueueLocation missing{m_dir.path() + "/brak/", file("brak/naklejka.dat"), true, {}};
    try {
        store.save(missing, queue);
        FAIL() << "the failed save is reported";
    } catch (const AppError& error) {
        EXPECT_EQ(error.text(), "Folder bufora naklejek " + file("brak") + " nie istnieje.");
    }
    EXPECT_EQ(queue, numberedLines(1, 2));
}

TEST_F(Store, AnUnreadableSavedQueueIsNeverWrittenOver)
{
    ASSERT_TRUE(QDir().mkdir(file("zelk.nal")));
    EXPECT_THROW(queue = restored(store, location()), AppError);
    write(file("naklejka.dat"), numberedLines(3, 4));
    EXPECT_THROW(store.take(location(), queue), AppError);
    store.save(location(), queue);
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_TRUE(QFileInfo(file("zelk.nal")).isDir());

    ASSERT_TRUE(QDir().rmdir(file("zelk.nal")));
    write(file("zelk.nal"), numberedLines(1, 2));
    store.take(location(), queue);
    EXPECT_EQ(queue, numberedLines(1, 4));
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(1, 4));
}

// A sheet of the queue's first `count` lines is printed; they leave the queue as at a run's end.
void printFront(QueueStore& store, const QueueLocation& location, QueuedLines& queue, int count)
{
    const int sequence = store.recordSheet(location,
                                           {.from = queue.fileOffset(0),
                                            .to = queue.fileOffset(count),
                                            .lines = count,
                                            .firstFree = count + 1,
                                            .when = QDateTime::currentDateTime(),
                                            .labels = queue.mid(0, count)},
                                           queue);
    store.sheetAccepted(location, sequence, true);
    store.sheetReleased(location, sequence);
    store.dropPrinted(queue);
}

// A compaction fails on the disk at each of its steps in turn (the history's append, the first
// free place into the settings, the new saved-queue file or the journal's kept line, the
// journal's removal, each flush), for a printed front that passed a quarter of the queue and for
// one that did not. The same process then takes lines, prints and compacts again: no line is
// lost or comes back, the history holds each sheet once, and the settings keep what they held.
TEST_F(Store, ACompactionThatFailsAtAnyStepLosesNoLine)
{
    const QByteArray installation = "[Instalacja]\r\nNazwa 1=Biblioteka Miejska\r\n";
    for (int queued : {30, 120}) {
        long step = 1;
        for (bool failed = true; failed && !HasFailure(); ++step) {
            SCOPED_TRACE(testing::Message() << queued << " lines, step " << step);
            for (const QString& name : files())
                QFile::remove(file(qPrintable(name)));
            write(file("zelk.nal"), numberedLines(1, queued));
            writeBytes("zelk_nal.ini", installation);
            {
                QueueStore store;
                queue = restored(store, location());
                printFront(store, location(), queue, 24);
                zelk_fail_at(qPrintable(m_dir.path()), step);
                try {
                    store.save(location(), queue);
                } catch (const AppError&) {
                }
                failed = zelk_fail_at(nullptr, 0) >= step;
                write(file("naklejka.dat"), numberedLines(queued + 1, queued + 2));
                store.take(location(), queue);
                printFront(store, location(), queue, 2);
                store.save(location(), queue);
                EXPECT_EQ(queue, numberedLines(27, queued + 2));
            }
            QueueStore next;
            EXPECT_EQ(restored(next, location()), numberedLines(27, queued + 2));
            EXPECT_EQ(PrintHistory::read(file("zelk.nal.historia")).size(), 2);
            const ProfileFile settings(file("zelk_nal.ini"));
            EXPECT_EQ(settings.readString(u"Instalacja", u"Nazwa 1"), "Biblioteka Miejska");
            EXPECT_EQ(settings.readInteger(u"Sposób Wydruku", u"Pierwsza Wolna", 0), 3);
        }
        EXPECT_GT(step, 5);
    }
}

// A run from a long queue writes its sheet's records, not the queue: the saved file keeps its
// bytes and inode, and the journal where the printed front stands. A start after a kill reads
// the queue right and takes the kept sheets neither into the history nor into the settings
// again (the grid may have changed since); setting lines aside, and the close, write the file
// without the printed lines.
TEST_F(Store, RunsFromALongQueueLeaveTheSavedFileUntilItIsDue)
{
    write(file("zelk.nal"), numberedLines(1, 1000));
    const QByteArray saved = bytes("zelk.nal");
    const ino_t savedInode = inode("zelk.nal");
    {
        QueueStore store;
        queue = restored(store, location());
        for (int run = 0; run < 3; ++run) {
            const qint64 writtenBefore = bytesWritten();
            printFront(store, location(), queue, 24);
            store.save(location(), queue);
            EXPECT_LT(bytesWritten() - writtenBefore, 8192);
        }
    }
    EXPECT_EQ(bytes("zelk.nal"), saved);
    EXPECT_EQ(inode("zelk.nal"), savedInode);
    QueueStore next;
    queue = restored(next, location());
    EXPECT_EQ(queue, numberedLines(73, 1000));
    EXPECT_FALSE(next.takeSettledFirstFree());
    EXPECT_EQ(PrintHistory::read(file("zelk.nal.historia")).size(), 3);
    EXPECT_EQ(
        ProfileFile(file("zelk_nal.ini")).readInteger(u"Sposób Wydruku", u"Pierwsza Wolna", 0), 25);

    EXPECT_TRUE(next.setAside(location(), queue, {0}));
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(74, 1000));
    next.saveAtClose(location(), queue);
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(74, 1000));
    EXPECT_EQ(read(file("zelk.nal.odrzucone")), numberedLines(73, 73));
    EXPECT_EQ(PrintHistory::read(file("zelk.nal.historia")).size(), 3);
    EXPECT_FALSE(QFile::exists(file("zelk.nal.druk")));
}

// A writer process appends numbered lines in random bursts, locking the buffer as a host
// system must, while ticks take the buffer: every line arrives exactly once, in order.
TEST_F(Store, TicksRacingAWriterQueueEveryLineOnce)
{
    // The limit only guards against a hang.
    constexpr int lineCount = 6000;
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedChannels);
    writer.start(QStringLiteral("bash"),
                 {QStringLiteral(ZELK_SOURCE_DIR "/tests/support/append_labels.sh"),
                  location().buffer, QStringLiteral("1"), QString::number(lineCount),
                  QStringLiteral("3")});
    ASSERT_TRUE(writer.waitForStarted());

    std::mt19937 random(1);
    QElapsedTimer clock;
    clock.start();
    int ticks = 0;
    while ((writer.state() != QProcess::NotRunning || QueueStore::hasWaitingFiles(location())) &&
           clock.elapsed() < 180000) {
        store.take(location(), queue);
        ++ticks;
        QThread::msleep(5 + random() % 45); // a tick at any moment of a writer's burst
        writer.waitForFinished(0);
    }
    ASSERT_EQ(writer.exitCode(), 0);
    EXPECT_GT(ticks, 20);
    EXPECT_EQ(queue, numberedLines(1, lineCount));
    EXPECT_EQ(read(file("zelk.nal")), queue);
}

// The buffer folder may be writable by other accounts: a link planted under any of the queue's
// names is neither read nor written through, and what the program creates is 0644 at most.
TEST_F(Store, NoLinkIsFollowedInTheBufferFolder)
{
    const QString secret = file("secret");
    write(secret, numberedLines(1, 2));
    ::chmod(QFile::encodeName(secret).constData(), 0600);
    const QString elsewhere = file("elsewhere");
    ASSERT_TRUE(QFile::link(secret, file("naklejka.dat")));
    ASSERT_TRUE(QFile::link(secret, file("zelk.nal.tmp")));
    ASSERT_TRUE(QFile::link(elsewhere, file("zelk.nal.fold")));
    const mode_t umask = ::umask(0);

    try {
        store.take(location(), queue);
        FAIL() << "a link as buffer is reported";
    } catch (const AppError& error) {
        EXPECT_EQ(error.text(), "Nie można przejąć pliku " + file("naklejka.dat") +
                                    ": to jest dowiązanie symboliczne.");
    }
    queue = numberedLines(7, 8);
    store.save(location(), queue);
    ::umask(umask);

    EXPECT_EQ(read(secret), numberedLines(1, 2)) << "nothing written through the .tmp link";
    EXPECT_FALSE(QFile::exists(elsewhere)) << "nothing created through the .fold link";
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(7, 8)) << "nothing read through the buffer";
    EXPECT_TRUE(QFileInfo(file("naklejka.dat")).isSymLink()) << "the buffer link is left alone";
    for (const char* name : {"zelk.nal", "zelk.nal.lock"}) {
        struct stat status {};
        ASSERT_EQ(::lstat(QFile::encodeName(file(name)).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0644u) << name;
    }
}

// A link planted at the set-aside file does not stop the printable lines: they fold, the others
// wait until the file can take them. One at the taken file's name is removed, and taking goes on.
TEST_F(Store, LinksAtTheProgramsOwnNamesDoNotStopTaking)
{
    queue = restored(store, location());
    ASSERT_TRUE(QFile::link(file("secret"), file("zelk.nal.odrzucone")));
    write(file("naklejka.dat"), numberedLines(1, 1) + QStringList{"zły|1"});
    EXPECT_THROW(store.take(location(), queue), AppError);
    EXPECT_EQ(queue, numberedLines(1, 1));
    EXPECT_FALSE(QFile::exists(file("secret")));

    QFile::remove(file("zelk.nal.odrzucone"));
    ASSERT_TRUE(QFile::link(file("secret"), file("naklejka.dat.taken")));
    write(file("naklejka.dat"), numberedLines(2, 2) + QStringList{"zły|2"});
    EXPECT_THROW(store.take(location(), queue), AppError) << "the link at the taken name is named";
    store.take(location(), queue);
    EXPECT_EQ(queue, numberedLines(1, 2));
    EXPECT_EQ(read(file("zelk.nal.odrzucone")), (QStringList{"zły|1", "zły|2"}));
    EXPECT_FALSE(QFile::exists(file("secret")));
}

// Two stores stand for two processes: the second touches nothing while the first holds the
// folder's queue, and takes over once it is gone.
TEST_F(Store, OneProcessAtATimeWorksOnAQueue)
{
    write(file("zelk.nal"), numberedLines(1, 2));
    auto first = std::make_unique<QueueStore>();
    queue = restored(*first, location());
    write(file("naklejka.dat"), numberedLines(3, 4));

    auto other = std::make_unique<QueueStore>();
    EXPECT_FALSE(other->lock(location()));
    QueuedLines otherQueue;
    EXPECT_THROW(otherQueue = restored(*other, location()), AppError);
    EXPECT_THROW(other->take(location(), otherQueue), AppError);
    EXPECT_THROW(other->save(location(), otherQueue), AppError);
    EXPECT_TRUE(otherQueue.isEmpty());
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(1, 2));
    EXPECT_TRUE(QFile::exists(file("naklejka.dat")));

    first.reset(); // the first process ends
    other->take(location(), otherQueue);
    EXPECT_EQ(otherQueue, numberedLines(1, 4)) << "the saved queue is read before the buffer";
}

// Lines that can never print are set aside, whole, in order and as their bytes came, under the
// fold's commit point; the rest of the buffer joins the queue. A saved queue carried over from
// elsewhere is held to the same rule when it is read.
TEST_F(Store, LinesThatCanNeverPrintAreSetAside)
{
    const struct {
        QByteArray line;
        const char* reason;
    } bad[] = {
        {"12a4|II 1", "identyfikator może składać się tylko z cyfr"},
        {"|II 2", "identyfikator musi mieć od 2 do 64 cyfr"},
        {"7|II 3", "identyfikator musi mieć od 2 do 64 cyfr"},
        {"bez kreski", "brak znaku „|” po identyfikatorze"},
        {"6091390|II 7", "nieparzysta liczba cyfr identyfikatora (7): kod kreskowy przeplatany 2 z "
                         "5 koduje cyfry parami - system biblioteczny powinien wysłać parzystą "
                         "liczbę cyfr, np. z zerem na początku (06091390)"},
        {"1" + QByteArray(64, '2') + "|x", "identyfikator musi mieć od 2 do 64 cyfr"},
        {QByteArray(995, '1') + "|IIIII", "wiersz ma więcej niż 1000 znaków"},
        {"123456789012|II \xff\xfe", "bajty niepoprawne w kodowaniu UTF-8"},
        {"123456789012|\xa3\xf3"
         "d\xbc",
         "bajty niepoprawne w kodowaniu UTF-8"}, // Windows-1250
        {QByteArray("123456789012|II\0 4", 18), "znak sterujący wewnątrz wiersza"},
        {"123456789012|II\x1b 5", "znak sterujący wewnątrz wiersza"},
    };
    QByteArray badBytes;
    QStringList reasons;
    QByteArray badSaved; // a saved queue is read by its content, as Windows-1250 if need be
    QStringList savedReasons;
    for (const auto& line : bad) {
        badBytes += line.line + "\r\n";
        reasons << QString::fromUtf8(line.reason);
        if (!reasons.last().startsWith(QLatin1String("bajty"))) {
            badSaved += line.line + "\r\n";
            savedReasons << reasons.last();
        }
    }
    const auto reasonsOf = [](const QList<SetAsideLine>& lines) {
        QStringList texts;
        for (const SetAsideLine& line : lines)
            texts << line.reason;
        return texts;
    };
    writeBytes("naklejka.dat", QueueFile::serialize(numberedLines(1, 2), true) + badBytes +
                                   QueueFile::serialize(numberedLines(3, 3), true));
    writeBytes("zelk.nal.odrzucone", "wcześniej odłożony\r\n");
    EXPECT_EQ(reasonsOf(store.take(location(), queue)), reasons);
    EXPECT_EQ(queue, numberedLines(1, 3));
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(1, 3));
    EXPECT_EQ(bytes("zelk.nal.odrzucone"), "wcześniej odłożony\r\n" + badBytes);

    writeBytes("zelk.nal", QueueFile::serialize(numberedLines(1, 1), true) + badSaved);
    QueuedLines restoredQueue;
    EXPECT_EQ(reasonsOf(store.restore(location(), restoredQueue)), savedReasons);
    EXPECT_EQ(restoredQueue, numberedLines(1, 1));
    EXPECT_EQ(read(file("zelk.nal")), numberedLines(1, 1));
    EXPECT_EQ(bytes("zelk.nal.odrzucone"), "wcześniej odłożony\r\n" + badBytes + badSaved);
}

// A crash before the fold's commit point leaves the set-aside file as it was and the taken
// file to be read again; after it, the set-aside file is complete.
TEST_F(Store, ASetAsideFoldCutShortIsSettledLikeTheFold)
{
    write(file("zelk.nal.odrzucone"), {"a|1"});
    write(file("zelk.nal.odrzucone.fold"), {"a|1", "b|2"});
    write(file("naklejka.dat.taken"), {"b|2"});
    {
        QueueStore afterCrash;
        queue = restored(afterCrash, location());
        EXPECT_EQ(read(file("zelk.nal.odrzucone")), QStringList{"a|1"});
        afterCrash.take(location(), queue);
        EXPECT_EQ(read(file("zelk.nal.odrzucone")), (QStringList{"a|1", "b|2"}));
    }
    write(file("zelk.nal.odrzucone.fold"), {"a|1", "b|2", "c|3"});
    restored(store, location());
    EXPECT_EQ(read(file("zelk.nal.odrzucone")), (QStringList{"a|1", "b|2", "c|3"}));
    EXPECT_EQ(files(), (QStringList{"zelk.nal.odrzucone"}));
}

// An append cut short before its commit leaves the set-aside file as it was, for the taken file
// to be read again.
TEST_F(Store, ASetAsideAppendCutShortIsTakenBack)
{
    writeBytes("zelk.nal.odrzucone", "a|1\r\nb|2\r\n");
    writeBytes("zelk.nal.dopisek", "0 5\n");
    write(file("naklejka.dat.taken"), {"b|2"});
    restored(store, location());
    EXPECT_EQ(bytes("zelk.nal.odrzucone"), "a|1\r\n");
    store.take(location(), queue);
    EXPECT_EQ(bytes("zelk.nal.odrzucone"), "a|1\r\nb|2\r\n");
}

// Anything but a regular file under the marker's name is none of the program's: it goes unread,
// and nothing is cut back after it.
TEST_F(Store, AMarkerThatIsNoRegularFileGoesUnread)
{
    write(file("zelk.nal"), numberedLines(1, 4));
    write(file("naklejka.dat.taken"), numberedLines(5, 6));
    writeBytes("elsewhere", "0 0\n");
    ASSERT_TRUE(QFile::link(file("elsewhere"), file("zelk.nal.dopisek")));
    EXPECT_EQ(restored(store, location()), numberedLines(1, 4));
    EXPECT_EQ(files(), (QStringList{"elsewhere", "naklejka.dat.taken", "zelk.nal"}));
}

// The saved queue is read by its content, so an encoding changed in the settings while labels
// wait (and a crash before the next save) garbles none of them; the buffer follows the setting.
TEST_F(Store, TheSavedQueueIsReadByItsContent)
{
    const QStringList polish{"000000000001|Łódź ŻÓŁW", "000000000002|ąęś"};
    for (const bool writtenAsUtf8 : {true, false}) {
        SCOPED_TRACE(writtenAsUtf8 ? "UTF-8 file, setting Windows-1250" : "the other way round");
        QFile saved(file("zelk.nal"));
        ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
        saved.write(QueueFile::serialize(polish, writtenAsUtf8));
        saved.close();
        QueueLocation location = this->location();
        location.utf8 = !writtenAsUtf8;
        QueueStore afterCrash;
        EXPECT_EQ(restored(afterCrash, location), polish);
    }
}

} // namespace
