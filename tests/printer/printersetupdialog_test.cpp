#include "platform/printing/cupsprinterbackend.h"
#include "platform/printing/devmode.h"
#include "platform/printing/qtprintersetupdialog.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Qt's print dialog on a machine without CUPS: "Plik PDF" is the only printer.
class PrinterSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        cupsSetServer(QFile::encodeName(dir.filePath(QStringLiteral("no-cups.sock"))));
    }
    void TearDown() override { cupsSetServer(nullptr); }

    // Runs the dialog; `answer` acts on it once it is open.
    std::optional<PrinterSetupChoice> exec(const QByteArray& settings,
                                           std::function<void(QDialog&)> answer)
    {
        QTimer::singleShot(100, [this, answer] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                for (auto* tabs : dialog->findChildren<QTabWidget*>())
                    for (int i = 0; i < tabs->count(); ++i)
                        tabTexts << tabs->tabText(i);
                answer(*dialog);
            }
        });
        return QtPrinterSetupDialog(backend).exec(backend.printers(),
                                                  CupsPrinterBackend::filePrinterName(), settings);
    }

    QTemporaryDir dir;
    CupsPrinterBackend backend;
    QStringList tabTexts;
};

TEST_F(PrinterSetup, ReadsTheChoiceBackIntoASettingsBlock)
{
    PrintSettings settings;
    settings.deviceName = CupsPrinterBackend::filePrinterName();
    settings.pageSize = QPageSize(QPageSize::A5);
    settings.orientation = QPageLayout::Landscape;
    settings.resolution = 600;

    const auto choice = exec(DevMode::encode(settings), [](QDialog& dialog) { dialog.accept(); });
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->printer, CupsPrinterBackend::filePrinterName());
    const PrintSettings chosen = DevMode::decode(choice->settings);
    EXPECT_EQ(chosen.deviceName, CupsPrinterBackend::filePrinterName());
    EXPECT_EQ(chosen.pageSize.id(), QPageSize::A5);
    EXPECT_EQ(chosen.orientation, QPageLayout::Landscape);
    EXPECT_EQ(chosen.resolution, 600); // the printer's, not Qt's 1200
    EXPECT_FALSE(tabTexts.isEmpty());
    EXPECT_FALSE(tabTexts.contains(QStringLiteral("Copies")));
}

TEST_F(PrinterSetup, CancellingGivesNothing)
{
    const auto choice = exec(backend.driverSettings(backend.printers()[0]),
                             [](QDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(choice.has_value());
}

} // namespace
