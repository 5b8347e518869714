#include "dialogs/tnal4.h"
#include "platform/version.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

TEST(Version, FourNumbersWithoutLeadingZeros)
{
    const auto numbers = programVersionNumbers();
    const QString text = programVersionText();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*)){3}$"))
                    .match(text)
                    .hasMatch())
        << text.toStdString();
    EXPECT_EQ(text, QStringLiteral("%1.%2.%3.%4")
                        .arg(numbers[0])
                        .arg(numbers[1])
                        .arg(numbers[2])
                        .arg(numbers[3]));
}

TEST(AboutBox, ShowsTheVersionAndHidesOnOkAndEscape)
{
    TNal4 about;
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informacje o programie i jego autorach"));
    EXPECT_EQ(about.Label11->text(), programVersionText());
    EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);

    about.showAbout();
    EXPECT_TRUE(about.isVisible());
    about.Button1->click();
    EXPECT_FALSE(about.isVisible());
    about.showAbout();
    EXPECT_EQ(about.Label11->text(), programVersionText());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
