#include "faketraypresence.h"
#include "labels/texts.h"
#include "mainwindowfixture.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>

namespace {

const Message closeQuestion{
    QStringLiteral("Zamknięcie programu uniemożliwi drukowanie kodów!\r\nCzy chcesz zamknąć "
                   "program?"),
    Texts::messageCaption(), MessageButtons::YesNo, MessageIcon::Question};

class MainWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }
};

TEST_F(MainWindow, StartsHiddenPollingWithTheCountHint)
{
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_FALSE(window->state.HideForm);
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze: 0"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Drukowanie naklejek z kodem kreskowym"));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

// Until a notification area comes the window has no icon and says nothing about it (the
// report waits ten seconds); full sheets still show it.
TEST_F(MainWindowFixture, WithoutANotificationAreaHasNoIconAndStillShowsFullSheets)
{
    FakeTrayPresence noTray;
    Services withoutTray = services(&printers);
    withoutTray.trays = &noTray;
    window = std::make_unique<TNal1>(withoutTray, dir.path(), QStringList{});
    EXPECT_EQ(window->TrayIcon1, nullptr);
    queueLines(24);
    window->Timer1Timer();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(MainWindow, TrayMenuInItsOrderWithBoldDefault)
{
    QStringList captions;
    for (QAction* action : window->PopupMenu1->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions, (QStringList{"Pokaż stronę", "Drukuj stronę", "Historia wydruków…", "-",
                                     "Usuń nalepki z bufora", "-", "Zamknij program"}));
    EXPECT_EQ(window->PopupMenu1->defaultAction(), window->PopupMenu1->actions().first());
    EXPECT_TRUE(window->PopupMenu1->defaultAction()->font().bold());
}

TEST_F(MainWindow, ShowsTheWindowOnlyWhenAFullSheetWaits)
{
    queueLines(23);
    window->Timer1Timer();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->Timer1.isActive());

    queueLines(1);
    window->Timer1Timer();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->Timer1.isActive());
}

TEST_F(MainWindow, HideKeepsTheWindowDismissedWhileTheQueueStaysTheSame)
{
    queueLines(24);
    window->Timer1Timer();
    ASSERT_TRUE(window->isVisible());

    window->RezygnujBut->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->state.HideForm);
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_EQ(window->labels().queue.ListaLini.size(), 24);
    EXPECT_TRUE(window->labels().queue.ListaNal.isEmpty());

    window->Timer1Timer();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->state.HideForm);
}

TEST_F(MainWindow, ShowPageWithAnEmptyQueueStopsTheTimer)
{
    window->state.HideForm = true;
    window->PopupMenu1->actions().first()->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->Timer1.isActive());
    EXPECT_TRUE(window->state.HideForm);

    emit window->TrayIcon1->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, ClearingTheQueueWhileShownDismissesTheWindow)
{
    queueLines(30);
    window->Pokastron1Click();
    window->Usunnal1Click();
    EXPECT_TRUE(window->labels().queue.ListaLini.isEmpty());
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze: 0"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->state.HideForm);
    EXPECT_TRUE(window->Timer1.isActive());
}

TEST_F(MainWindow, CloseQuestionAnsweredNoChangesNothing)
{
    queueLines(5);
    QSignalSpy closed(window.get(), &TNal1::closed);
    dialogs.answer(MessageAnswer::No);
    window->Zamknijprogram1Click();
    EXPECT_EQ(dialogs.shown(), QList<Message>{closeQuestion});
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_EQ(window->labels().queue.ListaLini.size(), 5);
    EXPECT_FALSE(window->state.zamknij);
}

TEST_F(MainWindow, CloseQuestionAnsweredYesEndsTheProgram)
{
    QSignalSpy closed(window.get(), &TNal1::closed);
    dialogs.answer(MessageAnswer::Yes);
    window->Zamknijprogram1Click();
    EXPECT_EQ(dialogs.shown(), QList<Message>{closeQuestion});
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainWindow, EndOfSessionClosesLaterWithoutAQuestion)
{
    QSignalSpy closed(window.get(), &TNal1::closed);
    EXPECT_TRUE(window->CanCloseComp());
    EXPECT_TRUE(window->state.zamknij);
    EXPECT_EQ(closed.count(), 0);
    // A host system may look for the saved queue: it stands, empty, when no label waits.
    QFile saved(bufferDir() + QStringLiteral("zelk.nal"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.size(), 0);

    window->Zamknijprogram1Click();
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(closed.count(), 1);
}

// The close request of another program, or a termination signal, while the user's own close
// question is open: the program saves and ends, whatever the question's answer would be.
TEST_F(MainWindow, CloseNowEndsTheProgramBehindTheCloseQuestion)
{
    QSignalSpy closed(window.get(), &TNal1::closed);
    queueLines(3);
    dialogs.whileAsked = [this](const Message&) { window->CloseNow(); };
    dialogs.answer(MessageAnswer::No);
    window->Zamknijprogram1Click();
    EXPECT_GE(closed.count(), 1);
    QFile saved(bufferDir() + QStringLiteral("zelk.nal"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count('\n'), 3);
}

// A failed save keeps the user's own close from happening, but not the close request.
TEST_F(MainWindow, CloseNowEndsTheProgramEvenWhenTheSaveFails)
{
    QSignalSpy closed(window.get(), &TNal1::closed);
    queueLines(2);
    ASSERT_TRUE(QDir(bufferDir()).removeRecursively());
    window->CloseNow();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(dialogs.shown().isEmpty()) << "said on standard error, no box";
    window->labels().queue.ListaLini.clear(); // nothing for the final save to complain about
}

TEST_F(MainWindow, CloseNowClosesWithoutAQuestion)
{
    QSignalSpy closed(window.get(), &TNal1::closed);
    window->CloseNow();
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(closed.count(), 1);
}

} // namespace
