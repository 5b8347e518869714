#include "labels/texts.h"
#include "mainwindowfixture.h"

#include "window/pageimage.h"

namespace {

const Message repeatQuestion{QStringLiteral("Czy powtórzyć wydruk?"), Texts::messageCaption(),
                             MessageButtons::YesNo, MessageIcon::Question};

// The window around a print run: what it shows of the queue when the run is over, and the
// ticks and the test page while the preview is up.
class PrintingFromTheWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }

    void showQueue(int count)
    {
        queueLines(count);
        window->Pokastron1Click();
    }

    LabelPrinter& labels() { return window->labels(); }
};

TEST_F(PrintingFromTheWindow, AnEmptiedQueueHidesThePreviewAndPollingGoesOn)
{
    showQueue(5);
    dialogs.answer(MessageAnswer::No);
    window->DrukujButClick();

    EXPECT_EQ(printers.ended().size(), 1);
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze: 0"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->Timer1.isActive());
}

TEST_F(PrintingFromTheWindow, TheHintCountsWhatIsLeftSpacedOnlyAfterQuestions)
{
    showQueue(30);
    dialogs.answer(MessageAnswer::No);
    window->DrukujButClick();
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze: 6"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(labels().queue.ListaNal.size(), 6);

    labels().settings.BezWyswB = true;
    queueLines(20);
    window->DrukujButClick();
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze:2"));
}

TEST_F(PrintingFromTheWindow, TicksWaitWhileARunAsksItsQuestions)
{
    showQueue(48);
    window->Timer1.start();
    std::size_t documentsDuringQuestion = 0;
    dialogs.whileAsked = [&](const Message&) {
        window->Timer1Timer();
        documentsDuringQuestion = printers.documents.size();
        EXPECT_EQ(labels().queue.ListaNal.size(), 24); // the sheet being printed
    };
    dialogs.answer(MessageAnswer::No);
    dialogs.answer(MessageAnswer::No);
    window->DrukujButClick();

    EXPECT_EQ(documentsDuringQuestion, 1u);
    EXPECT_FALSE(labels().printRunInProgress);
}

TEST_F(PrintingFromTheWindow, TheTestPageLeavesTheQueueAndPageAsTheyWere)
{
    showQueue(5);
    QLabel* page = window->Image;
    const QImage shown = window->pageBitmap;
    const QString hint = window->hint();
    window->printTestPage();

    ASSERT_EQ(printers.ended().size(), 1);
    EXPECT_EQ(printers.ended()[0].texts().count(QStringLiteral("AB123321BA")), 24);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(labels().queue.ListaNal.size(), 5);
    EXPECT_EQ(labels().queue.ListaLini.size(), 5);
    EXPECT_EQ(window->Image, page);
    EXPECT_EQ(window->pageBitmap, shown);
    EXPECT_EQ(window->hint(), hint);
}

TEST_F(PrintingFromTheWindow, DrukujPrintsTheTestPageWhenNothingIsComposed)
{
    window->DrukujButClick();
    ASSERT_EQ(printers.ended().size(), 1);
    EXPECT_EQ(printers.ended()[0].texts().count(QStringLiteral("AB123321BA")), 24);
}

} // namespace
