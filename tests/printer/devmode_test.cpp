#include "platform/printing/devmode.h"
#include "platform/printing/qprintersettings.h"

#include <gtest/gtest.h>
#include <QtEndian>

namespace {

qint16 field16(const QByteArray& block, int offset)
{
    return qFromLittleEndian<qint16>(block.constData() + offset);
}

PrintSettings labelSettings()
{
    PrintSettings settings;
    settings.deviceName = QStringLiteral("Etykiety");
    settings.pageSize = QPageSize(QPageSize::A5);
    settings.orientation = QPageLayout::Landscape;
    settings.margins = QMarginsF(4.2, 3, 4.2, 3.5);
    settings.copies = 3;
    settings.paperSource = QPrinter::Manual;
    settings.resolution = 600;
    settings.colorMode = QPrinter::GrayScale;
    settings.duplex = QPrinter::DuplexShortSide;
    settings.cupsOptions = QStringList{"InputSlot", "Tray2", "MediaType", "Labels"};
    return settings;
}

TEST(DevMode, FieldsLieAtTheirDevmodewOffsets)
{
    const QByteArray block = DevMode::encode(labelSettings());
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(block.constData()), 8),
              QStringLiteral("Etykiety"));
    EXPECT_EQ(field16(block, 68), 220);                // dmSize
    EXPECT_EQ(field16(block, 70), block.size() - 220); // dmDriverExtra
    EXPECT_EQ(field16(block, 76), 2);                  // dmOrientation: landscape
    EXPECT_EQ(field16(block, 78), 11);                 // dmPaperSize: DMPAPER_A5
    EXPECT_EQ(field16(block, 80), 2100);               // dmPaperLength, 0.1 mm
    EXPECT_EQ(field16(block, 82), 1480);               // dmPaperWidth
    EXPECT_EQ(field16(block, 86), 3);                  // dmCopies
    EXPECT_EQ(field16(block, 88), 4);                  // dmDefaultSource: DMBIN_MANUAL
    EXPECT_EQ(field16(block, 90), 600);                // dmPrintQuality
    EXPECT_EQ(field16(block, 92), 1);                  // dmColor: monochrome
    EXPECT_EQ(field16(block, 94), 3);                  // dmDuplex: horizontal
    EXPECT_EQ(field16(block, 96), 600);                // dmYResolution
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(block.constData() + 102), 2),
              QStringLiteral("A5")); // dmFormName
    EXPECT_EQ(DevMode::blockSize(block), block.size());
}

TEST(DevMode, EncodedSettingsDecodeUnchanged)
{
    EXPECT_EQ(DevMode::decode(DevMode::encode(labelSettings())), labelSettings());
}

TEST(DevMode, DeviceNameKeepsItsFirst31Units)
{
    PrintSettings settings;
    settings.deviceName = QString(40, u'd');
    const QByteArray block = DevMode::encode(settings);
    EXPECT_EQ(DevMode::deviceName(block), QString(31, u'd'));
    EXPECT_EQ(field16(block, 62), 0);
}

TEST(DevMode, AnotherDriversPublicPartIsUnderstood)
{
    QByteArray block = DevMode::encode(labelSettings()).left(220) + QByteArray(500, '\x7f');
    qToLittleEndian<quint16>(500, block.data() + 70);
    const PrintSettings settings = DevMode::decode(block);
    EXPECT_EQ(settings.pageSize.id(), QPageSize::A5);
    EXPECT_EQ(settings.orientation, QPageLayout::Landscape);
    EXPECT_EQ(settings.resolution, 600);
    EXPECT_EQ(settings.copies, 3);
    EXPECT_TRUE(settings.cupsOptions.isEmpty());
    EXPECT_EQ(DevMode::blockSize(block), 720);
}

TEST(DevMode, CustomPaperTravelsInTenthsOfAMillimetre)
{
    PrintSettings settings;
    settings.pageSize = QPageSize(QSizeF(100, 62), QPageSize::Millimeter);
    const PrintSettings decoded = DevMode::decode(DevMode::encode(settings));
    EXPECT_EQ(decoded.pageSize.size(QPageSize::Millimeter), QSizeF(100, 62));
}

TEST(DevMode, QPrinterSettingsRoundTripThroughABlock)
{
    QPrinter source(QPrinter::HighResolution);
    source.setOutputFormat(QPrinter::PdfFormat);
    source.setPageSize(QPageSize(QPageSize::Letter));
    source.setPageOrientation(QPageLayout::Landscape);
    source.setResolution(600);
    source.setDuplex(QPrinter::DuplexLongSide);
    source.setColorMode(QPrinter::GrayScale);
    source.setCopyCount(2);
    source.setPaperSource(QPrinter::Lower);
    const QByteArray block = DevMode::encode(printSettingsOf(source));

    QPrinter target(QPrinter::HighResolution);
    target.setOutputFormat(QPrinter::PdfFormat);
    applyPrintSettings(DevMode::decode(block), target);
    EXPECT_EQ(target.pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(target.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(target.resolution(), 600);
    EXPECT_EQ(target.duplex(), source.duplex()); // PDF output has no duplex to keep
    EXPECT_EQ(target.colorMode(), QPrinter::GrayScale);
    EXPECT_EQ(target.copyCount(), 2);
    EXPECT_EQ(target.paperSource(), QPrinter::Lower);
    EXPECT_EQ(DevMode::encode(printSettingsOf(target)), block);
}

} // namespace
