#include "platform/files/profilefile.h"
#include "printingfixture.h"

namespace {

// A sheet partly used already: runs start at its first free place and move it on.
class FirstFreePlace : public PrintingFixture {
protected:
    void SetUp() override
    {
        PrintingFixture::SetUp();
        start(&backend);
    }

    // Queues and composes `count` labels with `place` as the first free one.
    void composeFrom(int place, int count)
    {
        labels->settings.PierwszaWolna = place;
        compose(count);
    }

    int keptPlace() const
    {
        return ProfileFile(labels->paths.settingsFile())
            .readInteger(u"Sposób Wydruku", u"Pierwsza Wolna", 0);
    }

    // Where each sent sheet's labels stand: the top left corners of their frames.
    QList<QList<QPointF>> sentFrames() const
    {
        QList<QList<QPointF>> sheets;
        for (const RecordedDocument& document : backend.ended()) {
            QList<QPointF> frames;
            for (const DrawCall& call : document.rects())
                if (call.brush == QColor(Qt::black) && call.rect.width() == 702)
                    frames << call.rect.topLeft();
            sheets << frames;
        }
        return sheets;
    }

    // The top left corner of place `place` (0 …) on paper at 300 dpi.
    QPointF placeOnPaper(int place) const { return labels->pageGrid().labelOrigin(place) * 3; }

    RecordingPrinterBackend backend;
};

TEST_F(FirstFreePlace, FillsTheRestOfTheSheetAndThenStartsAtOneAgain)
{
    composeFrom(7, 30);
    EXPECT_EQ(labels->freePlaces(), 18);
    EXPECT_EQ(labels->queue.ListaNal.size(), 18);
    dialogs.answer(MessageAnswer::No);
    printQueue();

    const QList<QList<QPointF>> sheets = sentFrames();
    ASSERT_EQ(sheets.size(), 1) << "12 labels left do not fill a sheet";
    ASSERT_EQ(sheets[0].size(), 18);
    EXPECT_EQ(sheets[0].first(), placeOnPaper(6)) << "the third row's first cell";
    EXPECT_EQ(sheets[0].last(), placeOnPaper(23));
    EXPECT_EQ(labels->queue.ListaLini.size(), 12);
    EXPECT_EQ(labels->settings.PierwszaWolna, 1);
    EXPECT_EQ(keptPlace(), 1);
}

TEST_F(FirstFreePlace, APartialSheetLeavesTheNextPlaceForTheNextRun)
{
    composeFrom(1, 6);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    EXPECT_EQ(keptPlace(), 7);

    compose(20);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    EXPECT_EQ(sentFrames().last().first(), placeOnPaper(6));
    EXPECT_EQ(labels->queue.ListaLini.size(), 2);
    EXPECT_EQ(keptPlace(), 1);
}

TEST_F(FirstFreePlace, ARepetitionPrintsTheSameLabelsAtTheSamePlaces)
{
    composeFrom(7, 18);
    dialogs.answer(MessageAnswer::Yes);
    dialogs.answer(MessageAnswer::No);
    printQueue();

    const QList<QList<QPointF>> sheets = sentFrames();
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0], sheets[1]);
    EXPECT_EQ(sheets[1].first(), placeOnPaper(6));
    EXPECT_EQ(keptPlace(), 1);
}

TEST_F(FirstFreePlace, AnAbortedSheetAndTheTestPageLeaveThePlaceAlone)
{
    composeFrom(7, 18);
    labels->queue.ListaNal[3].Numer = QString(400, u'9');
    dialogs.answer(MessageAnswer::No);
    printQueue();
    EXPECT_EQ(labels->settings.PierwszaWolna, 7);

    labels->printTestPage();
    EXPECT_EQ(sentFrames().last().first(), placeOnPaper(0));
    EXPECT_EQ(sentFrames().last().size(), 24);
    EXPECT_EQ(labels->settings.PierwszaWolna, 7);
    EXPECT_EQ(keptPlace(), 0) << "nothing was written";
}

TEST_F(FirstFreePlace, WithoutPreviewEveryLabelPrintsWhenThePartialSheetIsWanted)
{
    labels->settings.BezWyswB = true;
    labels->printPartialSheet = true;
    composeFrom(19, 40);
    printQueue();

    const QList<QList<QPointF>> sheets = sentFrames();
    ASSERT_EQ(sheets.size(), 3);
    EXPECT_EQ((QList<qsizetype>{sheets[0].size(), sheets[1].size(), sheets[2].size()}),
              (QList<qsizetype>{6, 24, 10}));
    EXPECT_TRUE(labels->queue.ListaLini.isEmpty());
    EXPECT_EQ(keptPlace(), 11);
}

TEST_F(FirstFreePlace, IsReadWithinTheSheetAndOffASmallerSheetCountsAsOne)
{
    QFile ini(programDir() + QStringLiteral("zelk_nal.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Sposób Wydruku]\nPierwsza Wolna=30\n");
    ini.close();
    start(&backend);
    EXPECT_EQ(labels->settings.PierwszaWolna, 1) << "a place of a larger sheet: a fresh sheet";
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Exclamation);

    labels->settings.IlWie = 4; // the settings dialog made the sheet smaller
    EXPECT_EQ(labels->settings.usedPlaces(), 0);
    EXPECT_EQ(labels->freePlaces(), 12);
}

} // namespace
