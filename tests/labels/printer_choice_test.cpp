#include "labels/texts.h"
#include "platform/printing/devmode.h"
#include "printingfixture.h"

#include <QFile>

namespace {

QByteArray block(const QString& device, int copies)
{
    PrintSettings settings;
    settings.deviceName = device;
    settings.copies = copies;
    return DevMode::encode(settings);
}

class PrinterChoice : public PrintingFixture {
protected:
    void SetUp() override
    {
        PrintingFixture::SetUp();
        start(&backend);
    }

    QString savedSettingsFile() const { return labels->paths.LocalPath + "zelk_nal.prs"; }
    void writeSavedSettings(const QByteArray& bytes) const
    {
        QFile file(savedSettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray heldUnder(const QString& name)
    {
        DevModeEnv* held = labels->printer().get_device_modes_list_item_by_name(name);
        return held ? held->device_mode : QByteArray();
    }
    QByteArray current() { return *labels->printer().currentDevice().settings; }

    RecordingPrinterBackend backend{{{"Biuro"}, {"Etykiety", 600}, {"Kopie"}}, 0};
};

TEST_F(PrinterChoice, TheChosenPrinterIsFoundByItsWholeNameWithCase)
{
    const std::pair<QString, int> cases[] = {{"Etykiety", 1}, {"etykiety", 0}, {"Ety", 0}};
    for (const auto& [name, index] : cases) {
        labels->SetSelectedPrinter(name);
        EXPECT_EQ(labels->printer().printerIndex(), index) << qPrintable(name);
    }
}

TEST_F(PrinterChoice, StartUpAppliesTheSavedSettings)
{
    writeSavedSettings(block("Etykiety", 4));
    labels->settings.PrinterName = "Etykiety";
    labels->restorePrinter();
    EXPECT_EQ(labels->printer().printerIndex(), 1);
    EXPECT_EQ(labels->PrinterSettingsName, "Etykiety");
    EXPECT_EQ(current(), block("Etykiety", 4));
    EXPECT_EQ(heldUnder("Etykiety"), block("Etykiety", 4));
}

TEST_F(PrinterChoice, StartUpWithoutAFileKeepsTheDriversSettingsUntilTheFirstPage)
{
    labels->settings.PrinterName = "Etykiety";
    labels->restorePrinter();
    EXPECT_EQ(labels->printer().printerIndex(), 1);
    EXPECT_TRUE(labels->printer().device_modes_list.empty());

    compose(1);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    EXPECT_EQ(heldUnder("Etykiety"), backend.driverSettings(backend.printers()[1]));
    ASSERT_EQ(backend.ended().size(), 1);
    EXPECT_EQ(backend.ended()[0].resolution, 600);

    labels->savePrinterSettings();
    QFile saved(savedSettingsFile());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), heldUnder("Etykiety"));
}

TEST_F(PrinterChoice, AStartUpErrorIsReportedAndStartUpGoesOn)
{
    QFile ini(dir.filePath("zelk_nal.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[DRUKARKA]\r\nnazwa=Etykiety\r\n");
    ini.close();
    start(&backend);
    writeSavedSettings(block("Nieznana", 4));
    dialogs.clear();
    start(&backend);

    const Message report{"Nazwa drukarki zapisanej w pliku nie występuje w systemie",
                         Texts::appTitle(), MessageButtons::Ok, MessageIcon::Error};
    EXPECT_EQ(dialogs.shown(), QList<Message>{report});
    EXPECT_EQ(labels->printer().printerIndex(), 1);
}

TEST_F(PrinterChoice, CancellingTheSetupCapturesNothing)
{
    labels->settings.PrinterName = "Etykiety";
    labels->restorePrinter();
    labels->UstawDrukButClick();
    EXPECT_EQ(setup.opened, 1);
    EXPECT_EQ(setup.openedOn, "Etykiety");
    EXPECT_TRUE(labels->printer().device_modes_list.empty());
    EXPECT_EQ(labels->settings.PrinterName, "Etykiety");
}

TEST_F(PrinterChoice, TheSamePrinterEditedIsCapturedAndOpensWithItsHeldSettings)
{
    labels->settings.PrinterName = "Etykiety";
    labels->restorePrinter();
    setup.answers.push_back(PrinterSetupChoice{"Etykiety", block("Etykiety", 3)});
    labels->UstawDrukButClick();
    EXPECT_EQ(heldUnder("Etykiety"), block("Etykiety", 3));

    labels->printer().setPrinterIndex(0);
    labels->UstawDrukButClick(); // cancelled
    EXPECT_EQ(setup.openedOn, "Etykiety");
    EXPECT_EQ(setup.openedWith, block("Etykiety", 3));
}

TEST_F(PrinterChoice, AnotherPrinterBecomesTheChoiceAndKeepsSettingsHeldEarlier)
{
    labels->settings.PrinterName = "Etykiety";
    labels->restorePrinter();
    setup.answers.push_back(PrinterSetupChoice{"Kopie", block("Kopie", 2)});
    labels->UstawDrukButClick();
    EXPECT_EQ(labels->settings.PrinterName, "Kopie");
    EXPECT_EQ(labels->PrinterSettingsName, "Kopie");
    EXPECT_EQ(heldUnder("Kopie"), block("Kopie", 2));

    setup.answers.push_back(PrinterSetupChoice{"Etykiety", block("Etykiety", 8)});
    labels->UstawDrukButClick();
    setup.answers.push_back(PrinterSetupChoice{"Kopie", block("Kopie", 9)});
    labels->UstawDrukButClick();
    EXPECT_EQ(heldUnder("Kopie"), block("Kopie", 2));

    compose(1);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    ASSERT_EQ(backend.ended().size(), 1);
    EXPECT_EQ(backend.ended()[0].printer, "Kopie");
    EXPECT_EQ(backend.ended()[0].settings, block("Kopie", 2));
}

TEST_F(PrinterChoice, WithoutAChosenPrinterTheFirstPageHoldsTheDefaultsUnderTheEmptyName)
{
    compose(1);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    EXPECT_EQ(backend.ended()[0].printer, "Biuro");
    EXPECT_EQ(heldUnder(QString()), backend.driverSettings(backend.printers()[0]));
}

} // namespace
