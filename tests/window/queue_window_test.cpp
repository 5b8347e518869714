#include "labellines.h"
#include "labels/queuefile.h"
#include "labels/texts.h"
#include "mainwindowfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

class QueueWindow : public MainWindowFixture {
protected:
    QString savedQueue() const { return bufferDir() + QStringLiteral("zelk.nal"); }
    QString buffer() const { return bufferDir() + QStringLiteral("naklejka.dat"); }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    static QByteArray read(const QString& path)
    {
        QFile in(path);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << qPrintable(path);
        return in.readAll();
    }
};

TEST_F(QueueWindow, ATickAddsTheBufferToTheSavedQueueReadAtStart)
{
    write(savedQueue(), QueueFile::serialize(numberedLines(1, 5), true));
    start();
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze:5"));
    EXPECT_TRUE(QFile::exists(savedQueue())) << "the saved queue stays as the queue's mirror";

    write(buffer(), QueueFile::serialize(numberedLines(6, 9), true));
    window->Timer1Timer();
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze:9"));
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(1, 9));
    EXPECT_EQ(read(savedQueue()), QueueFile::serialize(numberedLines(1, 9), true));
    EXPECT_FALSE(QFile::exists(buffer()));
}

// The first tick runs as soon as events flow: a full sheet waiting at start shows at once, and
// the ticks after it come every second.
TEST_F(QueueWindow, AFullSheetWaitingAtStartShowsAtTheFirstPassOfEvents)
{
    write(savedQueue(), QueueFile::serialize(numberedLines(1, 24), true));
    start();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Timer1.interval(), 1000);
}

TEST_F(QueueWindow, SavedLinesStayQueuedAndComeBackAtTheNextStart)
{
    start();
    window->labels().queue.ListaLini = numberedLines(1, 3);
    window->labels().SaveNal();
    EXPECT_EQ(read(savedQueue()), QueueFile::serialize(numberedLines(1, 3), true));
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(1, 3));

    start();
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze:3"));
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(1, 3));
}

TEST_F(QueueWindow, ClearingTheQueueEmptiesItsMirror)
{
    start();
    write(buffer(), QueueFile::serialize(numberedLines(1, 4), true));
    window->Timer1Timer();
    window->Usunnal1Click();
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze: 0"));
    EXPECT_EQ(read(savedQueue()), QByteArray());

    start();
    EXPECT_TRUE(window->labels().queue.ListaLini.isEmpty());
}

TEST_F(QueueWindow, ATakenFileLeftByACrashIsPickedUpByTheFirstTick)
{
    write(savedQueue(), QueueFile::serialize(numberedLines(1, 2), true));
    write(buffer() + QStringLiteral(".taken"), QueueFile::serialize(numberedLines(3, 4), true));
    start();
    window->Timer1Timer();
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(1, 4));
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze:4"));
}

TEST_F(QueueWindow, ASaveThatFailsIsReportedAndTheProgramStays)
{
    start();
    window->labels().queue.ListaLini = numberedLines(1, 2);
    ASSERT_TRUE(QDir(bufferDir()).removeRecursively());
    EXPECT_FALSE(window->CanCloseComp());
    EXPECT_FALSE(window->state.zamknij);
    const Message failure{"Folder bufora naklejek " + bufferDir().chopped(1) + " nie istnieje.",
                          Texts::appTitle(), MessageButtons::Ok, MessageIcon::Error};
    EXPECT_EQ(dialogs.shown(), QList<Message>{failure});
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(1, 2));
    window->labels().queue.ListaLini.clear(); // nothing for the final save to complain about
}

} // namespace
