#include "platform/printing/cupsprinterbackend.h"

#include "platform/files/fileops.h"
#include "platform/printing/cupsjobs.h"
#include "platform/printing/devmode.h"
#include "platform/printing/pdfdocument.h"

#include <cups/cups.h>
#include <functional>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>
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

// The unprintable margin of a media size, in millimetres.
QMarginsF marginsOf(const cups_size_t& size)
{
    return QMarginsF(size.left / 100.0, size.top / 100.0, size.right / 100.0, size.bottom / 100.0);
}

void readMedia(cups_dest_t& dest, cups_dinfo_t* info, PrintSettings& settings)
{
    cups_size_t size{};
    if (!info || !defaultMedia(dest, info, size))
        return;
    const QSizeF millimetres(size.width / 100.0, size.length / 100.0);
    settings.pageSize =
        QPageSize(millimetres, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    settings.margins = marginsOf(size);
}

// The queue's media of the size of `paper`, with its margins. A paper the queue does not list
// goes out as a custom size when it has no name of its own.
PaperOnPrinter queuePaper(cups_dest_t& dest, const QPageSize& paper)
{
    const QSizeF millimetres = paper.size(QPageSize::Millimeter);
    PaperOnPrinter known;
    if (paper.id() == QPageSize::Custom)
        known.media =
            QStringLiteral("Custom.%1x%2mm").arg(millimetres.width()).arg(millimetres.height());
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, &dest);
    cups_size_t size{};
    if (info && cupsGetDestMediaBySize(
                    CUPS_HTTP_DEFAULT, &dest, info, qRound(millimetres.width() * 100),
                    qRound(millimetres.height() * 100), CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
        known.media = QString::fromUtf8(size.media);
        known.margins = marginsOf(size);
    }
    cupsFreeDestInfo(info);
    return known;
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
CupsJobs::Options jobOptions(const PrintSettings& settings)
{
    CupsJobs::Options options{
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

// Where a sheet went, as its record names it: "pdf <size> <SHA-1> <path>" for a PDF file, whose
// content identifies it, or "cupsjob <queue> <title>" for the job of a print queue that bears
// that title, which no other job has ("cups <job> <queue>" in an earlier version, which named
// the job once it had been created).
QString pdfDestination(const QString& path, const QByteArray& pdf)
{
    return QStringLiteral("pdf %1 %2 %3")
        .arg(pdf.size())
        .arg(QString::fromLatin1(QCryptographicHash::hash(pdf, QCryptographicHash::Sha1).toHex()),
             path);
}

QString cupsDestination(const QString& queue, const QString& jobTitle)
{
    return QStringLiteral("cupsjob %1 %2").arg(queue, jobTitle);
}

// The document's title with a mark that no other job has, by which the job is found again.
QString uniqueJobTitle(const QString& title)
{
    return QStringLiteral("%1 [%2]").arg(title).arg(QRandomGenerator::system()->generate64(), 16,
                                                    16, QLatin1Char('0'));
}

// What became of a sheet sent as a held job titled `title`: a job the printer had is released
// (none left means it has printed), one it never had all is cancelled.
SheetFate settleTitledJob(const QString& queue, const QString& title, bool accepted)
{
    const std::optional<QList<int>> jobs = CupsJobs::titled(queue, title);
    if (!accepted) {
        for (int job : jobs.value_or(QList<int>()))
            CupsJobs::cancel(queue, job);
        return SheetFate::NotPrinted;
    }
    if (!jobs)
        return SheetFate::ReleasePending;
    for (int job : *jobs)
        if (!CupsJobs::release(job))
            return SheetFate::ReleasePending;
    return SheetFate::Printed;
}

// A PDF recorded by `size` and `digest` stands complete under `path`.
bool pdfStands(const QString& path, qint64 size, const QByteArray& digest)
{
    try {
        if (FileOps::size(path) != size)
            return false;
        const QByteArray pdf = FileOps::read(path);
        return QCryptographicHash::hash(pdf, QCryptographicHash::Sha1).toHex() == digest;
    } catch (const AppError&) {
        return false; // gone, or no regular file: not the sheet's
    }
}

// For a step that cleans up after a failure: the failure's error is the one to report.
template <typename Step> void quietly(Step step)
{
    try {
        step();
    } catch (const AppError&) {
    }
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
        [folder, stem, &written](QIODevice& device, const SheetHandOver& handOver) {
            const QByteArray& pdf = static_cast<QBuffer&>(device).data();
            const QString path =
                QDir(folder).filePath(FileOps::freeName(folder, stem, QStringLiteral(".pdf")));
            handOver.prepared(pdfDestination(path, pdf));
            try {
                FileOps::createExclusive(path, pdf);
            } catch (const AppError& error) {
                throw SheetNotWritten(error.text()); // the sheet never reached the folder
            }
            try {
                handOver.accepted(false);
            } catch (const AppError&) {
                quietly([&] { FileOps::remove(path); });
                if (FileOps::exists(path))
                    written << path; // complete, so the journal counts it printed
                throw;
            }
            written << path;
            handOver.released();
        });
}

// The sheet's temporary file could not be written: the folder for temporary files is full or
// cannot be written to.
SheetNotWritten notWritten(const QTemporaryFile& file)
{
    return SheetNotWritten(QStringLiteral("Nie można zapisać pliku tymczasowego %1: %2")
                               .arg(file.fileTemplate(), file.errorString()));
}

// The sheet is drawn into a temporary file and sent as a held job, which is released once the
// caller has recorded that the printer has it. The job is named in the caller's record before
// it exists, by a title no other job has, so that a kill at any moment leaves no held job that
// settling cannot find.
std::unique_ptr<PrintDocument> cupsDocument(const QString& queue, const PrintSettings& settings,
                                            const QString& title)
{
    auto file =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/zelk_nal-XXXXXX.pdf"));
    if (!file->open())
        throw notWritten(*file);
    return std::make_unique<PdfDocument>(
        std::move(file), settings, title,
        [queue, title, settings](QIODevice& pdf, const SheetHandOver& handOver) {
            auto& file = static_cast<QTemporaryFile&>(pdf);
            if (!file.flush())
                throw notWritten(file);
            const QString jobTitle = uniqueJobTitle(title);
            handOver.prepared(cupsDestination(queue, jobTitle));
            const int job = CupsJobs::createHeld(queue, jobTitle, jobOptions(settings));
            try {
                CupsJobs::sendDocument(queue, job, file.fileName());
                handOver.accepted(true);
            } catch (const AppError&) {
                CupsJobs::cancel(queue, job);
                throw;
            }
            if (CupsJobs::release(job))
                handOver.released();
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

SheetFate CupsPrinterBackend::settleSheet(const QString& destination, bool accepted)
{
    const auto field = [&destination](int index) {
        return destination.section(QLatin1Char(' '), index, index);
    };
    if (field(0) == QLatin1String("pdf")) {
        const QString path = destination.section(QLatin1Char(' '), 3);
        return accepted || pdfStands(path, field(1).toLongLong(), field(2).toLatin1())
                   ? SheetFate::Printed
                   : SheetFate::NotPrinted;
    }
    if (field(0) == QLatin1String("cupsjob"))
        return settleTitledJob(field(1), destination.section(QLatin1Char(' '), 2), accepted);
    if (field(0) != QLatin1String("cups"))
        return SheetFate::NotPrinted;
    if (accepted)
        return CupsJobs::release(field(1).toInt()) ? SheetFate::Printed : SheetFate::ReleasePending;
    CupsJobs::cancel(destination.section(QLatin1Char(' '), 2), field(1).toInt());
    return SheetFate::NotPrinted;
}

PaperOnPrinter CupsPrinterBackend::paperOn(const PrinterInfo& printer, const QPageSize& paper)
{
    if (printer.device == filePrinterName())
        return {QString(), QMarginsF()}; // a PDF file has no unprintable margin
    const Destinations destinations;
    cups_dest_t* dest = destinations.find(printer.device);
    return dest ? queuePaper(*dest, paper) : PaperOnPrinter();
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
