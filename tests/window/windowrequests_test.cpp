#include "mainwindowfixture.h"
#include "window/windowrequests.h"

#include <QCoreApplication>
#include <QDialog>
#include <QTest>

namespace {

using Request = InstanceChannel::Request;

// The requests of other copies, served by the running copy's window from its event loop.
class RequestsToTheWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        requests.serveOn(*window);
    }

    // Lets the event loop serve what waits.
    static void serveEvents() { QCoreApplication::processEvents(); }

    WindowRequests requests;
};

TEST_F(RequestsToTheWindow, ShowShowsTheFirstSheet)
{
    queueLines(5);
    requests.take(Request::Show);
    EXPECT_FALSE(window->isVisible()) << "served after the answer, not inside it";
    serveEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->labels().queue.ListaNal.size(), 5);
}

TEST_F(RequestsToTheWindow, PrintPagePrintsWithoutQuestionsAndTakesTheLabelsOff)
{
    queueLines(30);
    requests.take(Request::PrintPage);
    serveEvents();
    ASSERT_EQ(printers.ended().size(), 1) << "the first sheet; the 6 left do not fill a sheet";
    EXPECT_EQ(window->labels().queue.ListaLini.size(), 6);
    EXPECT_TRUE(dialogs.scriptUsedUp());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(RequestsToTheWindow, SettingsShowTheWindowFirst)
{
    bool shownBeforeSettings = false;
    QObject::connect(window.get(), &TNal1::settingsRequested,
                     [this, &shownBeforeSettings] { shownBeforeSettings = window->isVisible(); });
    requests.take(Request::Settings);
    serveEvents();
    EXPECT_TRUE(shownBeforeSettings);
}

// A print started inside an open question, or a settings dialog inside another dialog, would
// run within it: both wait until it is over; showing does not.
TEST_F(RequestsToTheWindow, PrintAndSettingsWaitForAnOpenDialog)
{
    int settingsOpened = 0;
    QObject::connect(window.get(), &TNal1::settingsRequested,
                     [&settingsOpened] { ++settingsOpened; });
    queueLines(24);
    auto box = std::make_unique<QDialog>();
    box->setModal(true);
    box->show();
    requests.take(Request::PrintPage);
    requests.take(Request::Settings);
    serveEvents();
    EXPECT_TRUE(printers.documents.empty());
    EXPECT_EQ(settingsOpened, 0);

    box.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return settingsOpened == 1; }));
    EXPECT_EQ(printers.ended().size(), 1);
}

TEST_F(RequestsToTheWindow, PrintWaitsForARunningPrint)
{
    queueLines(48);
    dialogs.whileAsked = [this](const Message&) {
        dialogs.whileAsked = nullptr;
        requests.take(Request::PrintPage);
        serveEvents();
        EXPECT_EQ(printers.documents.size(), 1u) << "no second run inside the first";
    };
    dialogs.answer(MessageAnswer::No); // no next sheet
    dialogs.answer(MessageAnswer::No); // no repetition
    window->Drukujstron1Click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return printers.ended().size() == 2; }));
    EXPECT_TRUE(window->labels().queue.ListaLini.isEmpty());
}

// A reprint request names its sheet: the running copy takes it only when it is that sheet of its
// own history, and then prints exactly it; otherwise it says why not and prints nothing.
TEST_F(RequestsToTheWindow, AReprintPrintsExactlyTheSheetItNamesOrSaysWhyNot)
{
    queueLines(48);
    window->labels().settings.BezWyswB = true;
    window->Drukujstron1Click();
    const PrintedSheet older = window->labels().printHistory().last();
    const SheetName name = window->labels().nameOf(older);
    const QList<std::pair<QStringList, QString>> cases{
        {{"/inna/zelk.nal.historia", "1", name.journal, "1"}, "innymi ustawieniami"},
        {{name.history, "7", name.journal, "1"}, "nie ma arkusza 7"},
        {{name.history, "1", name.journal, "9"}, "już inny arkusz"},
        {{"1"}, "nie wskazuje arkusza"},
        {name.texts(), QString()}};
    for (const auto& [request, refusal] : cases) {
        SCOPED_TRACE(request.join(u' ').toStdString());
        const qsizetype printed = printers.ended().size();
        EXPECT_TRUE(requests.take(Request::Reprint, request).contains(refusal));
        serveEvents();
        EXPECT_EQ(printers.ended().size(), printed + (refusal.isEmpty() ? 1 : 0));
    }
    EXPECT_EQ(window->labels().printHistory().first().sheet.labels, older.sheet.labels);
}

TEST_F(RequestsToTheWindow, RequestsDuringStartUpWaitForTheWindow)
{
    WindowRequests early;
    early.take(Request::Show);
    serveEvents();
    early.serveOn(*window);
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->isVisible(); }));
}

} // namespace
