#include "app/onewindow.h"
#include "platform/desktop/windowtitles.h"
#include "platform/files/instancechannel.h"
#include "scripteddialogs.h"

#include <atomic>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <thread>

namespace {

const QString title = QStringLiteral("Drukowanie kodów kreskowych");

class FakeTitles : public WindowTitles {
public:
    explicit FakeTitles(QStringList titles)
        : m_titles(std::move(titles))
    {
    }
    QStringList topLevelTitles() override { return m_titles; }

private:
    QStringList m_titles;
};

class SingleInstance : public ::testing::Test {
protected:
    // Runs the check against `titles`; true when this copy was refused.
    bool refusedAmong(const QStringList& titles)
    {
        FakeTitles fake(titles);
        InstanceChannel channel(m_dir.path());
        ended = false;
        OneWindowCheck(title, {fake, channel, dialogs, [this] { ended = true; }});
        return ended;
    }

    QTemporaryDir m_dir;
    ScriptedDialogs dialogs;
    bool ended = false;
};

TEST_F(SingleInstance, RefusesBesideAWindowWithExactlyTheTitle)
{
    EXPECT_TRUE(refusedAmong({QStringLiteral("Terminal"), title, QString()}));
    const Message refusal{QStringLiteral("Program jest już uruchomiony, uruchomienie większej "
                                         "liczby kopii jest niemożliwe!"),
                          title, MessageButtons::Ok, MessageIcon::Exclamation};
    EXPECT_EQ(dialogs.shown(), QList<Message>{refusal});
}

TEST_F(SingleInstance, OnlyTheExactTitleCounts)
{
    EXPECT_FALSE(refusedAmong({}));
    EXPECT_FALSE(refusedAmong({QString(), QString()}));
    EXPECT_FALSE(refusedAmong({QStringLiteral("drukowanie kodów kreskowych")}));
    EXPECT_FALSE(refusedAmong({title + QLatin1Char(' ')}));
    EXPECT_FALSE(refusedAmong({QStringLiteral("Okno: ") + title}));
    EXPECT_FALSE(refusedAmong({QStringLiteral("Drukowanie naklejek z kodem kreskowym")}));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(SingleInstance, RefusesWhileAnotherCopyHoldsTheLock)
{
    InstanceChannel running(m_dir.path());
    ASSERT_TRUE(running.tryLock());
    EXPECT_TRUE(refusedAmong({}));
    EXPECT_EQ(dialogs.shown().size(), 1);
}

TEST(EnumTitlesProc, SkipsEmptyTextsAndCutsAt256Characters)
{
    QStringList list;
    EXPECT_TRUE(EnumTitlesProc(QString(), list));
    EXPECT_TRUE(EnumTitlesProc(QString(300, QLatin1Char('x')), list));
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.first().size(), 256);
}

// The answer comes from this process's own event loop, so the request is sent from a thread.
InstanceChannel::Answer sendFromThread(InstanceChannel::Request request, const QString& directory,
                                       const QStringList& arguments = {}, QString* why = nullptr)
{
    std::atomic<bool> answered = false;
    InstanceChannel::Answer result{};
    std::thread client([&] {
        result = InstanceChannel::send(request, directory, arguments, why);
        answered = true;
    });
    while (!answered)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    client.join();
    return result;
}

TEST(InstanceRequests, ReachTheRunningCopyAndReportItsAnswer)
{
    using Request = InstanceChannel::Request;
    using Answer = InstanceChannel::Answer;
    QTemporaryDir dir;
    EXPECT_EQ(InstanceChannel::send(Request::Close, dir.path()), Answer::NotRunning);
    EXPECT_EQ(InstanceChannel::send(Request::Show, dir.path()), Answer::NotRunning);

    InstanceChannel running(dir.path());
    ASSERT_TRUE(running.tryLock());
    QList<Request> received;
    QStringList lastArguments;
    QString refusal = QStringLiteral("nie teraz: 100% zajęty");
    running.listen([&](Request request, const QStringList& arguments) {
        received << request;
        lastArguments = arguments;
        return refusal;
    });
    QString why;
    EXPECT_EQ(sendFromThread(Request::Close, dir.path(), {}, &why), Answer::Refused);
    EXPECT_EQ(why, refusal);
    refusal.clear();
    for (Request request : {Request::Show, Request::PrintPage, Request::Settings, Request::Close})
        EXPECT_EQ(sendFromThread(request, dir.path()), Answer::Done);
    const QStringList sheet{"/mój folder/zelk.nal.historia", "12"};
    EXPECT_EQ(sendFromThread(Request::Reprint, dir.path(), sheet), Answer::Done);
    EXPECT_EQ(received, (QList<Request>{Request::Close, Request::Show, Request::PrintPage,
                                        Request::Settings, Request::Close, Request::Reprint}));
    EXPECT_EQ(lastArguments, sheet);
}

} // namespace
