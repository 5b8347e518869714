#include "platform/cupsprinterbackend.h"

#include "platform/devmode.h"
#include "platform/fileops.h"
#include "platform/pdfdocument.h"

#include <cups/cups.h>
#include <functional>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace {

constexpr int fallbackResolution = 300;

// The CUPS destinations, freed with the object.
class Destinations {
public:
    Destinations() { m_count = cupsGetDests2(CUPS_HTTP_DEFAULT, &m_dests); }
    ~Destinations() { cupsFreeDests(m_count, m_dests); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    int count() const { return m_count; }
    cups_dest_t& at(int index) const { return m_dests[index]; }
    cups_dest_t* find(const QString& name) const
    {
        for (int i = 0; i < m_count; ++i)
            if (listName(m_dests[i]) == name)
                return &m_dests[i];
        return nullptr;
    }

    static QString listName(const cups_dest_t& dest)
    {
        QString name = QString::fromUtf8(dest.name);
        if (dest.instance)
            name += QLatin1Char('/') + QString::fromUtf8(dest.instance);
        return name;
    }

private:
    cups_dest_t* m_dests = nullptr;
    int m_count = 0;
};

QString option(const cups_dest_t& dest, const char* name)
{
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

PrinterInfo filePrinter()
{
    const QString name = CupsPrinterBackend::filePrinterName();
    return {name, name, QStringLiteral("PDF"), QStringLiteral("PDF:")};
}

// The resolution in the queue's PPD ("*DefaultResolution: 600dpi"), 0 when there is none.
int ppdResolution(const cups_dest_t& dest)
{
    QTemporaryFile ppd;
    if (!ppd.open())
        return 0;
    const QByteArray resource = QByteArray("/printers/") + dest.name + ".ppd";
    if (cupsGetFd(CUPS_HTTP_DEFAULT, resource.constData(), ppd.handle()) != HTTP_STATUS_OK)
        return 0;
    ppd.seek(0);
    static const QRegularExpression defaultResolution(
        QStringLiteral(R"(^\*DefaultResolution:(.*)$)"), QRegularExpression::MultilineOption);
    const auto match = defaultResolution.match(QString::fromLatin1(ppd.readAll()));
    return match.hasMatch() ? resolutionFromText(match.captured(1)) : 0;
}

// IPP printer-resolution-default, else the PPD's default resolution (vertical dots per inch).
int queueResolution(cups_dest_t& dest, cups_dinfo_t* info)
{
    if (info) {
        if (ipp_attribute_t* attribute =
                cupsFindDestDefault(CUPS_HTTP_DEFAULT, &dest, info, "printer-resolution")) {
            int x = 0;
            int y = 0;
            ipp_res_t units = IPP_RES_PER_INCH;
            x = ippGetResolution(attribute, 0, &y, &units);
            if (y > 0)
                return units == IPP_RES_PER_CM ? qRound(y * 2.54) : y;
            if (x > 0)
                return x;
        }
    }
    const int fromPpd = ppdResolution(dest);
    return fromPpd > 0 ? fromPpd : fallbackResolution;
}

// The queue's default media: its "media" option, else IPP media-default.
bool defaultMedia(cups_dest_t& dest, cups_dinfo_t* info, cups_size_t& size)
{
    const char* name = cupsGetOption(CUPS_MEDIA, dest.num_options, dest.options);
    if (!name) {
        if (ipp_attribute_t* media =
                cupsFindDestDefault(CUPS_HTTP_DEFAULT, &dest, info, CUPS_MEDIA))
            name = ippGetString(media, 0, nullptr);
    }
    if (name && cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, &dest, info, name,
                                       CUPS_MEDIA_FLAGS_DEFAULT, &size))
        return true;
    return cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, &dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size);
}

void readMedia(cups_dest_t& dest, cups_dinfo_t* info, PrintSettings& settings)
{
    cups_size_t size{};
    if (!info || !defaultMedia(dest, info, size))
        return;
    const QSizeF millimetres(size.width / 100.0, size.length / 100.0);
    settings.pageSize =
        QPageSize(millimetres, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    settings.margins =
        QMarginsF(size.left / 100.0, size.top / 100.0, size.right / 100.0, size.bottom / 100.0);
}

PrintSettings queueSettings(cups_dest_t& dest)
{
    PrintSettings settings;
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, &dest);
    readMedia(dest, info, settings);
    settings.resolution = queueResolution(dest, info);
    cupsFreeDestInfo(info);

    settings.copies = qMax(1, option(dest, "copies").toInt());
    if (option(dest, "print-color-mode") == QLatin1String("monochrome"))
        settings.colorMode = QPrinter::GrayScale;
    const QString sides = option(dest, "sides");
    if (sides == QLatin1String("two-sided-long-edge"))
        settings.duplex = QPrinter::DuplexLongSide;
    else if (sides == QLatin1String("two-sided-short-edge"))
        settings.duplex = QPrinter::DuplexShortSide;
    return settings;
}

// The CUPS options of a job: what the settings block says, then the driver options it holds.
using Options = QList<QPair<QByteArray, QByteArray>>;

Options jobOptions(const PrintSettings& settings)
{
    Options options{
        {"copies", QByteArray::number(settings.copies)},
        {"print-color-mode", settings.colorMode == QPrinter::Color ? "color" : "monochrome"}};
    const char* sides = settings.duplex == QPrinter::DuplexShortSide ? "two-sided-short-edge"
                        : settings.duplex == QPrinter::DuplexNone    ? "one-sided"
                                                                     : "two-sided-long-edge";
    options.emplaceBack("sides", sides);
    if (settings.pageSize.id() != QPageSize::Custom)
        options.emplaceBack("media", settings.pageSize.key().toUtf8());
    for (qsizetype i = 0; i + 1 < settings.cupsOptions.size(); i += 2)
        options.emplaceBack(settings.cupsOptions[i].toUtf8(), settings.cupsOptions[i + 1].toUtf8());
    return options;
}

void submitToCups(const QString& queue, const QString& fileName, const QString& title,
                  const PrintSettings& settings)
{
    int count = 0;
    cups_option_t* options = nullptr;
    for (const auto& [name, value] : jobOptions(settings))
        count = cupsAddOption(name.constData(), value.constData(), count, &options);
    const QByteArray destination = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, destination.constData(),
                                   QFile::encodeName(fileName).constData(),
                                   title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        throw PrinterError(QString::fromUtf8(cupsLastErrorString()));
}

// "<title> <date> <time> strona <sheet>", the name of a sheet's PDF file without its suffix.
QString outputStem(const QString& title, int sheet)
{
    QString stem = title +
                   QDateTime::currentDateTime().toString(QStringLiteral(" yyyy-MM-dd HH.mm.ss")) +
                   QStringLiteral(" strona %1").arg(sheet);
    return stem.replace(QLatin1Char('/'), QLatin1Char('_'));
}

// The sheet is drawn into memory; when it ends, it lands whole and flushed in the folder under
// a name no other file has, so the sheet counts as printed only once its file is complete.
std::unique_ptr<PrintDocument> fileDocument(const QString& folder, const PrintSettings& settings,
                                            const QString& title, int sheet, QStringList& written)
{
    auto pdf = std::make_unique<QBuffer>();
    pdf->open(QIODevice::WriteOnly);
    const QString stem = outputStem(title, sheet);
    return std::make_unique<PdfDocument>(
        std::move(pdf), settings, title,
        [folder, stem, &written](QIODevice& pdf, const std::function<void()>& accepted) {
            bool created = false;
            try {
                written << FileOps::createUnique(folder, stem, QStringLiteral(".pdf"),
                                                 static_cast<QBuffer&>(pdf).data(), [&] {
                                                     created = true;
                                                     accepted();
                                                 });
            } catch (const AppError& error) {
                if (created)
                    throw;
                throw PrinterError(error.text()); // the sheet never reached the folder
            }
        });
}

std::unique_ptr<PrintDocument> cupsDocument(const QString& queue, const PrintSettings& settings,
                                            const QString& title)
{
    auto file =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/zelk_nal-XXXXXX.pdf"));
    if (!file->open())
        throw PrinterError(file->errorString());
    return std::make_unique<PdfDocument>(
        std::move(file), settings, title,
        [queue, title, settings](QIODevice& pdf, const std::function<void()>& accepted) {
            auto& file = static_cast<QTemporaryFile&>(pdf);
            if (!file.flush())
                throw PrinterError(file.errorString());
            submitToCups(queue, file.fileName(), title, settings);
            accepted();
        });
}

} // namespace

QList<PrinterInfo> CupsPrinterBackend::printers()
{
    QList<PrinterInfo> printers;
    const Destinations destinations;
    for (int i = 0; i < destinations.count(); ++i) {
        const cups_dest_t& dest = destinations.at(i);
        const QString name = Destinations::listName(dest);
        printers.append(
            {name, name, option(dest, "printer-make-and-model"), option(dest, "device-uri")});
    }
    printers.append(filePrinter());
    return printers;
}

int CupsPrinterBackend::defaultPrinter()
{
    const Destinations destinations;
    for (int i = 0; i < destinations.count(); ++i)
        if (destinations.at(i).is_default)
            return i;
    return destinations.count(); // "Plik PDF", last in the list
}

QByteArray CupsPrinterBackend::driverSettings(const PrinterInfo& printer)
{
    PrintSettings settings;
    if (printer.device != filePrinterName()) {
        const Destinations destinations;
        if (cups_dest_t* dest = destinations.find(printer.device))
            settings = queueSettings(*dest);
    }
    settings.deviceName = printer.device;
    return DevMode::encode(settings);
}

std::unique_ptr<PrintDocument> CupsPrinterBackend::startDocument(const PrinterInfo& printer,
                                                                 const QByteArray& settings,
                                                                 const QString& title, int sheet)
{
    const PrintSettings decoded = DevMode::decode(settings);
    if (printer.device == filePrinterName())
        return fileDocument(m_fileFolder, decoded, title, sheet, m_writtenFiles);
    return cupsDocument(printer.device, decoded, title);
}
