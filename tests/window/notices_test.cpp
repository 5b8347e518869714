#include "faketraypresence.h"
#include "labellines.h"
#include "labels/queuefile.h"
#include "mainwindowfixture.h"

#include <QFile>

namespace {

// Print runs that nobody watches end with a notice: on the tray icon, or on standard error
// where the desktop has no notification area.
class Notices : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        window->labels().settings.BezWyswB = true;
    }

    void appendToBuffer(int from, int to) const
    {
        QFile out(bufferDir() + QStringLiteral("naklejka.dat"));
        ASSERT_TRUE(out.open(QIODevice::Append));
        out.write(QueueFile::serialize(numberedLines(from, to), true));
    }
};

TEST_F(Notices, AFullSheetPrintedWithoutPreviewIsTold)
{
    appendToBuffer(1, 24);
    window->Timer1Timer();
    EXPECT_EQ(notifier.shown, (QList<RunNotice>{{QStringLiteral("Wydrukowano 24 naklejki na "
                                                                "drukarce Etykiety."),
                                                 false}}));
}

// A failure that comes back at every tick is told once, as its message is shown once, and again
// after a run went well.
TEST_F(Notices, ARepeatedFailureIsToldOnce)
{
    printers.failStart = true;
    appendToBuffer(1, 24);
    for (int i = 0; i < 3; ++i)
        window->Timer1Timer();
    const RunNotice failure{QStringLiteral("Błąd wydruku: Brak domyślnej drukarki"), true};
    EXPECT_EQ(notifier.shown, (QList<RunNotice>{failure}));
    EXPECT_EQ(dialogs.shown().size(), 1);

    printers.failStart = false;
    window->Timer1Timer();
    printers.failStart = true;
    appendToBuffer(25, 48);
    window->Timer1Timer();
    ASSERT_EQ(notifier.shown.size(), 3);
    EXPECT_FALSE(notifier.shown[1].failed);
    EXPECT_EQ(notifier.shown[2], failure);
}

// A failure before the sheet is composed (the logo is no bitmap) is told as well.
TEST_F(Notices, AFailureBeforeTheRunIsTold)
{
    const QString notABitmap = bufferDir() + QStringLiteral("logo.bmp");
    QFile logo(notABitmap);
    ASSERT_TRUE(logo.open(QIODevice::WriteOnly));
    logo.write("not a bitmap");
    logo.close();
    window->labels().settings.ZLogoB = true;
    window->labels().settings.Path = notABitmap;
    appendToBuffer(1, 24);
    window->Timer1Timer();
    EXPECT_EQ(notifier.shown, (QList<RunNotice>{{QStringLiteral("Błąd wydruku: Bitmap image is not "
                                                                "valid"),
                                                 true}}));
}

TEST_F(Notices, WithoutANotificationAreaTheyGoToStandardError)
{
    window.reset();
    Services withoutTray = services(&printers);
    const FakeTrayPresence noTray;
    withoutTray.trays = &noTray;
    withoutTray.notifier = nullptr;
    window = std::make_unique<TNal1>(withoutTray, dir.path(), QStringList());
    window->labels().settings.BezWyswB = true;
    appendToBuffer(1, 24);
    testing::internal::CaptureStderr();
    window->Timer1Timer();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zelk_nal: Wydrukowano 24 naklejki na drukarce Etykiety.\n");
}

} // namespace
