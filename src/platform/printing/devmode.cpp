#include "platform/printing/devmode.h"

#include "platform/rounding.h"

#include <algorithm>
#include <array>
#include <QtEndian>

namespace DevMode {
namespace {

// Offsets of the DEVMODEW fields that express a printer's settings.
constexpr int specVersionOffset = 64;
constexpr int driverVersionOffset = 66;
constexpr int fieldsOffset = 72;
constexpr int orientationOffset = 76;
constexpr int paperSizeOffset = 78;
constexpr int paperLengthOffset = 80;
constexpr int paperWidthOffset = 82;
constexpr int scaleOffset = 84;
constexpr int copiesOffset = 86;
constexpr int defaultSourceOffset = 88;
constexpr int printQualityOffset = 90;
constexpr int colorOffset = 92;
constexpr int duplexOffset = 94;
constexpr int yResolutionOffset = 96;
constexpr int formNameOffset = 102;
constexpr int formNameUnits = 32;

// dmFields bits.
constexpr quint32 dmOrientation = 0x1;
constexpr quint32 dmPaperSize = 0x2;
constexpr quint32 dmPaperLength = 0x4;
constexpr quint32 dmPaperWidth = 0x8;
constexpr quint32 dmScale = 0x10;
constexpr quint32 dmCopies = 0x100;
constexpr quint32 dmDefaultSource = 0x200;
constexpr quint32 dmPrintQuality = 0x400;
constexpr quint32 dmColor = 0x800;
constexpr quint32 dmDuplex = 0x1000;
constexpr quint32 dmYResolution = 0x2000;
constexpr quint32 dmFormName = 0x10000;

constexpr quint16 specVersion = 0x0401;
constexpr quint16 ourDriverVersion = 1;
constexpr int paperUser = 256; // DMPAPER_USER: the size is in dmPaperWidth and dmPaperLength

// Our private part: signature, version, Qt's page size id, margins in micrometres (left, top,
// right, bottom), then the CUPS options as UTF-8 "name=value" lines, zero-padded.
constexpr char signature[4] = {'Z', 'L', 'K', 'P'};
constexpr quint32 privateVersion = 1;
constexpr int privateSize = 1024;
constexpr int pageSizeIdOffset = publicSize + 8;
constexpr int marginsOffset = publicSize + 12;
constexpr int optionsOffset = publicSize + 28;
constexpr int optionsCapacity = privateSize - 28 - 1; // room for a terminating NUL

// DMBIN_* values of the paper sources Qt knows.
constexpr std::array<std::pair<QPrinter::PaperSource, int>, 13> paperSources{{
    {QPrinter::OnlyOne, 1},
    {QPrinter::Lower, 2},
    {QPrinter::Middle, 3},
    {QPrinter::Manual, 4},
    {QPrinter::Envelope, 5},
    {QPrinter::EnvelopeManual, 6},
    {QPrinter::Auto, 7},
    {QPrinter::Tractor, 8},
    {QPrinter::SmallFormat, 9},
    {QPrinter::LargeFormat, 10},
    {QPrinter::LargeCapacity, 11},
    {QPrinter::Cassette, 14},
    {QPrinter::FormSource, 15},
}};

int binOf(QPrinter::PaperSource source)
{
    const auto* found = std::find_if(paperSources.begin(), paperSources.end(),
                                     [source](const auto& entry) { return entry.first == source; });
    return found == paperSources.end() ? 7 : found->second;
}

QPrinter::PaperSource sourceOf(int bin)
{
    const auto* found = std::find_if(paperSources.begin(), paperSources.end(),
                                     [bin](const auto& entry) { return entry.second == bin; });
    return found == paperSources.end() ? QPrinter::Auto : found->first;
}

int duplexValue(QPrinter::DuplexMode duplex)
{
    switch (duplex) {
    case QPrinter::DuplexLongSide:
    case QPrinter::DuplexAuto:
        return 2; // DMDUP_VERTICAL
    case QPrinter::DuplexShortSide:
        return 3; // DMDUP_HORIZONTAL
    case QPrinter::DuplexNone:
        break;
    }
    return 1; // DMDUP_SIMPLEX
}

QPrinter::DuplexMode duplexOf(int value)
{
    switch (value) {
    case 2:
        return QPrinter::DuplexLongSide;
    case 3:
        return QPrinter::DuplexShortSide;
    default:
        return QPrinter::DuplexNone;
    }
}

template <typename T> void put(QByteArray& block, int offset, T value)
{
    qToLittleEndian(value, block.data() + offset);
}

template <typename T> T get(const QByteArray& block, int offset)
{
    if (block.size() < offset + int(sizeof(T)))
        return T{};
    return qFromLittleEndian<T>(block.constData() + offset);
}

void putText(QByteArray& block, int offset, int units, const QString& text)
{
    const QString cut = text.left(units - 1); // keeps the terminating NUL
    for (int i = 0; i < cut.size(); ++i)
        put<quint16>(block, offset + 2 * i, cut.at(i).unicode());
}

QString getText(const QByteArray& block, int offset, int units)
{
    QString text;
    for (int i = 0; i < units; ++i) {
        const auto unit = get<quint16>(block, offset + 2 * i);
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    return text;
}

QByteArray optionsText(const QStringList& options)
{
    QByteArray text;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        const QByteArray line = (options[i] + QLatin1Char('=') + options[i + 1]).toUtf8() + '\n';
        if (text.size() + line.size() > optionsCapacity)
            break;
        text += line;
    }
    return text;
}

QStringList optionsList(const QByteArray& block)
{
    const QByteArray area = block.mid(optionsOffset, optionsCapacity);
    QStringList options;
    for (const QByteArray& line : area.left(area.indexOf('\0')).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            options << QString::fromUtf8(line.left(equals))
                    << QString::fromUtf8(line.mid(equals + 1));
    }
    return options;
}

bool isOurs(const QByteArray& block)
{
    return get<quint16>(block, sizeOffset) == publicSize &&
           get<quint16>(block, driverExtraOffset) == privateSize &&
           block.size() >= publicSize + privateSize &&
           block.mid(publicSize, 4) == QByteArray(signature, 4) &&
           get<quint32>(block, publicSize + 4) == privateVersion;
}

QPageSize pageSizeOf(const QByteArray& block, quint32 fields)
{
    if (isOurs(block)) {
        // Checked as a number: a value outside the enumeration must not become one.
        const qint32 id = get<qint32>(block, pageSizeIdOffset);
        if (id != QPageSize::Custom && id >= 0 && id <= QPageSize::LastPageSize)
            return QPageSize(QPageSize::PageSizeId(id));
    }
    const int windowsId = get<qint16>(block, paperSizeOffset);
    if ((fields & dmPaperSize) && windowsId != paperUser &&
        QPageSize::id(windowsId) != QPageSize::Custom)
        return QPageSize(QPageSize::id(windowsId));
    const int width = get<qint16>(block, paperWidthOffset);
    const int length = get<qint16>(block, paperLengthOffset);
    if ((fields & dmPaperWidth) && (fields & dmPaperLength) && width > 0 && length > 0)
        return QPageSize(QSizeF(width / 10.0, length / 10.0), QPageSize::Millimeter);
    return QPageSize(QPageSize::A4);
}

int resolutionOf(const QByteArray& block, quint32 fields)
{
    const int y = get<qint16>(block, yResolutionOffset);
    if ((fields & dmYResolution) && y > 0)
        return y;
    const int quality = get<qint16>(block, printQualityOffset); // negative: a draft/high mark
    if ((fields & dmPrintQuality) && quality > 0)
        return quality;
    return PrintSettings().resolution;
}

} // namespace

QByteArray encode(const PrintSettings& settings)
{
    QByteArray block(publicSize + privateSize, '\0');
    putText(block, 0, deviceNameUnits, settings.deviceName);
    put<quint16>(block, specVersionOffset, specVersion);
    put<quint16>(block, driverVersionOffset, ourDriverVersion);
    put<quint16>(block, sizeOffset, publicSize);
    put<quint16>(block, driverExtraOffset, privateSize);
    put<quint32>(block, fieldsOffset,
                 dmOrientation | dmPaperSize | dmPaperLength | dmPaperWidth | dmScale | dmCopies |
                     dmDefaultSource | dmPrintQuality | dmColor | dmDuplex | dmYResolution |
                     dmFormName);
    put<qint16>(block, orientationOffset, settings.orientation == QPageLayout::Landscape ? 2 : 1);
    const int windowsId = settings.pageSize.windowsId();
    put<qint16>(block, paperSizeOffset, qint16(windowsId > 0 ? windowsId : paperUser));
    const QSizeF millimetres = settings.pageSize.size(QPageSize::Millimeter);
    put<qint16>(block, paperLengthOffset, qint16(roundHalfEven(millimetres.height() * 10)));
    put<qint16>(block, paperWidthOffset, qint16(roundHalfEven(millimetres.width() * 10)));
    put<qint16>(block, scaleOffset, 100);
    put<qint16>(block, copiesOffset, qint16(settings.copies));
    put<qint16>(block, defaultSourceOffset, qint16(binOf(settings.paperSource)));
    put<qint16>(block, printQualityOffset, qint16(settings.resolution));
    put<qint16>(block, colorOffset, settings.colorMode == QPrinter::Color ? 2 : 1);
    put<qint16>(block, duplexOffset, qint16(duplexValue(settings.duplex)));
    put<qint16>(block, yResolutionOffset, qint16(settings.resolution));
    putText(block, formNameOffset, formNameUnits, settings.pageSize.key());

    block.replace(publicSize, 4, signature, 4);
    put<quint32>(block, publicSize + 4, privateVersion);
    put<qint32>(block, pageSizeIdOffset, settings.pageSize.id());
    const QMarginsF& margins = settings.margins;
    int offset = marginsOffset;
    for (double margin : {margins.left(), margins.top(), margins.right(), margins.bottom()}) {
        put<qint32>(block, offset, roundHalfEven(margin * 1000));
        offset += 4;
    }
    const QByteArray options = optionsText(settings.cupsOptions);
    block.replace(optionsOffset, options.size(), options);
    return block;
}

PrintSettings decode(const QByteArray& block)
{
    PrintSettings settings;
    settings.deviceName = deviceName(block);
    const auto fields = get<quint32>(block, fieldsOffset);
    settings.pageSize = pageSizeOf(block, fields);
    if ((fields & dmOrientation) && get<qint16>(block, orientationOffset) == 2)
        settings.orientation = QPageLayout::Landscape;
    if ((fields & dmCopies) && get<qint16>(block, copiesOffset) > 0)
        settings.copies = get<qint16>(block, copiesOffset);
    if (fields & dmDefaultSource)
        settings.paperSource = sourceOf(get<qint16>(block, defaultSourceOffset));
    settings.resolution = resolutionOf(block, fields);
    if ((fields & dmColor) && get<qint16>(block, colorOffset) == 1)
        settings.colorMode = QPrinter::GrayScale;
    if (fields & dmDuplex)
        settings.duplex = duplexOf(get<qint16>(block, duplexOffset));
    if (isOurs(block)) {
        const auto micrometres = [&block](int index) {
            return get<qint32>(block, marginsOffset + 4 * index) / 1000.0;
        };
        settings.margins =
            QMarginsF(micrometres(0), micrometres(1), micrometres(2), micrometres(3));
        settings.cupsOptions = optionsList(block);
    }
    return settings;
}

QString deviceName(const QByteArray& block)
{
    return getText(block, 0, deviceNameUnits);
}

int blockSize(const QByteArray& block)
{
    return get<quint16>(block, sizeOffset) + get<quint16>(block, driverExtraOffset);
}

} // namespace DevMode
