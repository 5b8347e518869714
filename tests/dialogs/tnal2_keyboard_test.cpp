// Return in the settings dialog: a focused push button takes it; "&Ustaw" takes it only when no
// other button has the focus.
#include "settingsdialogfixture.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace {

// What pressing a button shows, so that a test can script the answer and see it was shown.
enum class Opens { FontDialog, FileDialog, PrinterSetup, TestPage, CloseQuestion };

struct FocusedButton {
    const char* name;
    QPushButton* TNal2::*button;
    Opens opens;
};

void PrintTo(const FocusedButton& button, std::ostream* out)
{
    *out << button.name;
}

class ReturnOnAButton : public SettingsDialog, public ::testing::WithParamInterface<FocusedButton> {
protected:
    void pressReturn() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
};

TEST_P(ReturnOnAButton, DoesThatButtonsActionAndWritesNothing)
{
    const FocusedButton& param = GetParam();
    open();
    activate();
    QPushButton* button = dialog.get()->*param.button;
    button->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), button);

    switch (param.opens) {
    case Opens::FontDialog:
        dialogs.answerFont(std::nullopt);
        break;
    case Opens::FileDialog:
        dialogs.answerPath(std::nullopt);
        break;
    case Opens::CloseQuestion:
        dialogs.answer(MessageAnswer::No);
        break;
    case Opens::PrinterSetup:
    case Opens::TestPage:
        break;
    }
    pressReturn();

    EXPECT_FALSE(QFile::exists(iniPath()));
    EXPECT_EQ(dialogs.dialogStarts().size(),
              param.opens == Opens::FontDialog || param.opens == Opens::FileDialog ? 1 : 0);
    EXPECT_EQ(setup.opened, param.opens == Opens::PrinterSetup ? 1 : 0);
    EXPECT_EQ(printers.ended().size(), param.opens == Opens::TestPage ? 1u : 0u);
    const bool closes = param.opens == Opens::CloseQuestion;
    EXPECT_EQ(dialogs.shown(), closes ? QList<Message>{saveQuestion} : QList<Message>{});
    EXPECT_EQ(dialog->isVisible(), !closes);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsDialog, ReturnOnAButton,
    ::testing::Values(FocusedButton{"Anuluj", &TNal2::Button4, Opens::CloseQuestion},
                      FocusedButton{"Nazwa", &TNal2::NazwaBibBut, Opens::FontDialog},
                      FocusedButton{"Sygnatura", &TNal2::SygnatBut, Opens::FontDialog},
                      FocusedButton{"Identyfikator", &TNal2::IdentBut, Opens::FontDialog},
                      FocusedButton{"LogoFile", &TNal2::PrzegBmp, Opens::FileDialog},
                      FocusedButton{"BufferFile", &TNal2::PrzegBuf, Opens::FileDialog},
                      FocusedButton{"WybierzDrukarke", &TNal2::Button3, Opens::PrinterSetup},
                      FocusedButton{"DrukujStroneWzorcowa", &TNal2::Button1, Opens::TestPage}),
    [](const ::testing::TestParamInfo<FocusedButton>& info) { return info.param.name; });

TEST_F(SettingsDialog, ReturnElsewhereCommitsOnceTheFocusHasLeftTheButtons)
{
    open();
    activate();
    dialog->IdentBut->setFocus(Qt::TabFocusReason);
    dialog->MargG->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(iniPath()));
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_FALSE(dialog->isVisible());
}

// The default button's own frame looks like a focused button's, so the focus needs a mark of
// its own.
TEST_F(SettingsDialog, FocusedDefaultButtonShowsItsFocus)
{
    open();
    activate();
    const QImage unfocused = dialog->Button2->grab().toImage();
    dialog->Button2->setFocus(Qt::TabFocusReason);
    EXPECT_NE(dialog->Button2->grab().toImage(), unfocused);
}

} // namespace
