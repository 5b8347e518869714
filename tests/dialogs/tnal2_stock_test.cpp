// The label stock in the settings dialog and its chooser.
#include "dialogs/stockchooser.h"
#include "platform/files/profilefile.h"
#include "settingsdialogfixture.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const LabelStock averyL7160{"Avery", "L7160", 6399, 3810, 748,   1549, 6604,
                            3810,    3,       7,    "A4", 21000, 29700};

// The boxes take the nearest whole millimetres (63.99 mm is 66 in the settings' scale) and the
// settings the exact sheet; a hand edit of the sheet leaves it; "Anuluj" discards it and "Ustaw"
// writes it.
TEST_F(SettingsDialog, AStockFillsTheSheetUntilItIsEditedByHand)
{
    open();
    Settings& s = window->labels().settings;
    dialog->applyStock(averyL7160);
    QStringList boxes;
    for (const SpinEdit* box :
         {dialog->SzerNalep, dialog->WysNalep, dialog->IloscKolumn, dialog->IloscNalKol,
          dialog->MargG, dialog->MargL, dialog->MargMO, dialog->MargMI})
        boxes << box->text();
    EXPECT_EQ(boxes.join(u' '), QStringLiteral("66 39 3 7 16 8 0 2"));
    EXPECT_EQ(s.stock, averyL7160);
    EXPECT_EQ(dialog->ImageNal->pixmap().width(), 252 + 2) << "63.99 mm is 252 layout pixels";

    type(dialog->MargL, QStringLiteral("9"));
    EXPECT_EQ(s.stock, std::nullopt);
    dialog->applyStock(averyL7160);
    dialogs.answer(MessageAnswer::No);
    dialog->Button4->click();
    EXPECT_EQ(s.stock, std::nullopt);
    EXPECT_EQ(s.SzerNalI, 61);

    open();
    dialog->applyStock(averyL7160);
    dialog->Button2->click();
    EXPECT_EQ(ProfileFile(iniPath()).readString(u"Arkusz Naklejek", u"Symbol"), u"L7160");
    EXPECT_EQ(window->labels().settings.stock, averyL7160);
}

// The search finds offered and left-out sheets, the latter greyed with the reason; the correction
// fields change the printer's correction at once, and "Anuluj" puts it back.
TEST_F(SettingsDialog, TheChooserFindsSheetsAndEditsThePrintersCorrection)
{
    StockCatalogue catalogue;
    catalogue.offered = {averyL7160};
    LabelStock round;
    round.maker = QStringLiteral("Avery");
    round.part = QStringLiteral("5294");
    catalogue.leftOut = {{round, LeftOutReason::NotRectangular}};
    StockChooser chooser(window->labels(), catalogue);
    chooser.search->setText(QStringLiteral("avery"));
    ASSERT_EQ(chooser.list->topLevelItemCount(), 2);
    EXPECT_EQ(chooser.list->topLevelItem(0)->text(2), QStringLiteral("63,99 × 38,1 mm"));
    EXPECT_TRUE(chooser.list->topLevelItem(1)->isDisabled());
    EXPECT_EQ(chooser.list->topLevelItem(1)->text(5),
              QStringLiteral("okrągłe lub owalne naklejki"));
    chooser.list->setCurrentItem(chooser.list->topLevelItem(0));
    EXPECT_EQ(chooser.chosen(), averyL7160);
    EXPECT_FALSE(chooser.picture->pixmap().isNull());
    EXPECT_EQ(chooser.note->text(),
              QStringLiteral("Pominięte arkusze: okrągłe lub owalne naklejki – 1."));

    chooser.right->setValue(1.5);
    chooser.scaleY->setValue(99.75);
    EXPECT_EQ(window->labels().settings.corrections.value(QStringLiteral("Etykiety")),
              (PrinterCorrection{15, 0, 10000, 9975}));
    chooser.cancel->click();
    EXPECT_TRUE(window->labels().settings.corrections.isEmpty());

    StockChooser withoutCatalogue(window->labels(), StockCatalogue());
    EXPECT_EQ(withoutCatalogue.note->text(),
              QStringLiteral("Brak katalogu arkuszy naklejek: zainstaluj pakiet glabels-data."));
}

} // namespace
