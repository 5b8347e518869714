// Text typed into the settings dialog's spin boxes: only digits and a sign go in, and a size box
// holding no number reports it once and changes nothing, although the report takes the focus.
#include "settingsdialogfixture.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace {

struct SizeBox {
    const char* name;
    SpinEdit* TNal2::*box;
    const char* sign;
};

void PrintTo(const SizeBox& box, std::ostream* out)
{
    *out << box.name;
}

class TypedText : public SettingsDialog {
protected:
    // Gives the box the focus with its text selected, as the Tab key does.
    void enter(SpinEdit* box)
    {
        activate();
        box->setFocus(Qt::TabFocusReason);
        box->selectAll();
        ASSERT_EQ(QApplication::focusWidget(), box);
    }

    // A window of its own takes the focus, as a message box does, and gives it back on closing.
    void showFocusTakingWindow()
    {
        QPushButton ok(QStringLiteral("OK"));
        ok.show();
        ok.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ok));
        ok.close();
        activate();
    }
};

class SignInASizeBox : public TypedText, public ::testing::WithParamInterface<SizeBox> {};

TEST_P(SignInASizeBox, IsReportedOnceAndChangesNothing)
{
    open();
    SpinEdit* box = dialog.get()->*GetParam().box;
    enter(box);
    const QImage sample = dialog->sampleBitmap;
    dialogs.whileShown = [this](const Message&) { showFocusTakingWindow(); };

    QTest::keyClicks(box, QString::fromLatin1(GetParam().sign));

    const QString sign = QString::fromLatin1(GetParam().sign);
    const Message report{QStringLiteral("'%1' is not a valid integer value").arg(sign),
                         Texts::appTitle(), MessageButtons::Ok, MessageIcon::Error};
    EXPECT_EQ(dialogs.shown(), QList<Message>{report});
    EXPECT_EQ(box->text(), sign);
    EXPECT_EQ(window->labels().settings, Settings());
    EXPECT_EQ(dialog->SzerKK->maximum(), 99);
    EXPECT_EQ(dialog->sampleBitmap, sample);
}

INSTANTIATE_TEST_SUITE_P(SettingsDialog, SignInASizeBox,
                         ::testing::Values(SizeBox{"Szerokosc", &TNal2::SzerNalep, "-"},
                                           SizeBox{"Wysokosc", &TNal2::WysNalep, "+"},
                                           SizeBox{"SzerokoscKoduKreskowego", &TNal2::SzerKK, "-"}),
                         [](const ::testing::TestParamInfo<SizeBox>& info) {
                             return info.param.name;
                         });

TEST_F(TypedText, LeavingABoxWithoutANumberGivesItsMinimum)
{
    open();
    enter(dialog->SzerNalep);
    QTest::keyClicks(dialog->SzerNalep, QStringLiteral("-"));
    dialogs.clear();
    dialog->WysNalep->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dialog->SzerNalep->text(), QStringLiteral("30"));
    EXPECT_EQ(window->labels().settings.SzerNalI, 30);
}

TEST_F(TypedText, LettersAndSignsAfterDigitsDoNotGoIn)
{
    open();
    enter(dialog->IloscKolumn);
    QTest::keyClicks(dialog->IloscKolumn, QStringLiteral("ab"));
    EXPECT_EQ(dialog->IloscKolumn->text(), QStringLiteral("3"));
    QTest::keyClicks(dialog->IloscKolumn, QStringLiteral("4-"));
    EXPECT_EQ(dialog->IloscKolumn->text(), QStringLiteral("4"));
    EXPECT_EQ(window->labels().settings.IlKol, 4);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

} // namespace
