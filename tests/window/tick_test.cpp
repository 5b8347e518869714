#include "fulldisk.h"
#include "labellines.h"
#include "labels/queuefile.h"
#include "mainwindowfixture.h"

#include <QDir>
#include <QFile>

namespace {

// The polling tick runs unattended for weeks: whatever fails, it goes on taking the buffer, its
// hint tells the queue's length, and a failure that repeats is reported once.
class Tick : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }

    QString buffer() const { return bufferDir() + QStringLiteral("naklejka.dat"); }

    void appendToBuffer(const QStringList& lines) const
    {
        QFile out(buffer());
        ASSERT_TRUE(out.open(QIODevice::Append));
        out.write(QueueFile::serialize(lines, true));
    }

    // One tick, as the timer runs it; the hint must tell the queue's length after it.
    void tick()
    {
        window->Timer1Timer();
        const qsizetype count = window->labels().queue.ListaLini.size();
        EXPECT_EQ(window->hint(), count == 0 ? QStringLiteral("Liczba kodów w buforze: 0")
                                             : "Liczba kodów w buforze:" + QString::number(count));
    }

    QStringList texts() const
    {
        QStringList shown;
        for (const Message& message : dialogs.shown())
            shown << message.text;
        return shown;
    }
};

TEST_F(Tick, AFailureWithoutPreviewIsReportedOnceAndPollingGoesOn)
{
    const QString notABitmap = bufferDir() + QStringLiteral("logo.bmp");
    QFile logo(notABitmap);
    ASSERT_TRUE(logo.open(QIODevice::WriteOnly));
    logo.write("not a bitmap");
    logo.close();
    window->labels().settings.BezWyswB = true;
    window->labels().settings.ZLogoB = true;
    window->labels().settings.Path = notABitmap;
    window->Timer1.start();

    appendToBuffer(numberedLines(1, 24));
    tick();
    EXPECT_EQ(texts(), QStringList{"Bitmap image is not valid"});
    for (int n = 25; n <= 27; ++n) {
        appendToBuffer(numberedLines(n, n));
        tick();
    }
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(1, 27))
        << "the buffer is still taken";
    EXPECT_EQ(texts(), QStringList{"Bitmap image is not valid"}) << "reported once";
    EXPECT_TRUE(window->Timer1.isActive());

    window->labels().settings.ZLogoB = false; // the failure clears: the full sheets print
    tick();
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(25, 27));
    window->labels().settings.ZLogoB = true; // and comes back: reported again
    appendToBuffer(numberedLines(28, 48));
    tick();
    EXPECT_EQ(texts().count("Bitmap image is not valid"), 2);
}

// Unattended printing goes on while a failure is on the screen: the report waits for nobody.
TEST_F(Tick, AFailedFoldIsToldOnceWithoutHoldingTheTicks)
{
    window->labels().settings.BezWyswB = true;
    dialogs.whileShown = [](const Message&) { ADD_FAILURE() << "a tick waits on a box"; };
    appendToBuffer(numberedLines(1, 30));
    {
        const FullDisk full(48); // the fold of the lines does not fit
        for (int i = 0; i < 3; ++i)
            tick();
    }
    tick(); // room again: the lines are taken and a full sheet printed
    ASSERT_EQ(texts().size(), 1) << "said once";
    EXPECT_TRUE(texts()[0].startsWith("Nie można dopisać do pliku ")) << qPrintable(texts()[0]);
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(25, 30));
}

TEST_F(Tick, AnUnreadableSavedQueueIsReportedOnce)
{
    ASSERT_TRUE(QDir().mkdir(bufferDir() + QStringLiteral("zelk.nal")));
    start();
    ASSERT_EQ(dialogs.shown().size(), 1);
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(dialogs.shown().size(), 1);

    ASSERT_TRUE(QDir().rmdir(bufferDir() + QStringLiteral("zelk.nal")));
    appendToBuffer(numberedLines(1, 2));
    tick();
    EXPECT_EQ(window->labels().queue.ListaLini, numberedLines(1, 2));
}

TEST_F(Tick, ALineThatCanNeverPrintIsSetAsideAndTheRestPrints)
{
    window->labels().settings.BezWyswB = true;
    appendToBuffer(numberedLines(1, 12) + QStringList{"12345A789012|II X"} + numberedLines(13, 24));
    tick();
    EXPECT_TRUE(window->labels().queue.ListaLini.isEmpty()) << "the full sheet printed";
    EXPECT_EQ(printers.ended().size(), 1);
    EXPECT_EQ(texts(), QStringList{"Tych wierszy bufora nie da się wydrukować; odłożono je do "
                                   "pliku " +
                                   bufferDir() +
                                   "zelk.nal.odrzucone:\n„12345A789012|II X”: identyfikator "
                                   "może składać się tylko z cyfr"});
}

} // namespace
