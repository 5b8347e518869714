#include "platform/printing/printer.h"

#include "platform/printing/devmode.h"
#include "platform/printing/printersetupdialog.h"
#include "platform/rounding.h"

#include <algorithm>
#include <QPainter>

namespace {

PrinterError indexOutOfRange()
{
    return PrinterError(QStringLiteral("Printer index out of range"));
}

// Sets the option `name` of a settings block's CUPS options to `value`.
void setOption(QStringList& options, const QString& name, const QString& value)
{
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] == name) {
            options[i + 1] = value;
            return;
        }
    }
    options << name << value;
}

// Everything the painter paints from now on moves and is scaled on the paper as `correction`
// says: the origin the painter has is the printable area's corner, and the correction applies
// from the paper's. The shift is whole dots, so that bars stay on the printer's dots.
void correct(QPainter& painter, const PrinterCorrection& correction)
{
    if (correction.isNone())
        return;
    const auto dots = [](int tenths, int dpi) { return roundHalfEven(tenths / 254.0 * dpi); };
    const QPaintDevice& device = *painter.device();
    const QTransform onPaper(correction.scaleX / 10000.0, 0, 0, correction.scaleY / 10000.0,
                             dots(correction.right, device.logicalDpiX()),
                             dots(correction.down, device.logicalDpiY()));
    painter.setWorldTransform(painter.worldTransform() * onPaper);
}

} // namespace

Printer::Printer(PrinterBackend* backend)
    : m_backend(backend)
{
}

Printer::~Printer() = default;

const QList<PrinterInfo>& Printer::installed()
{
    if (!m_installed)
        m_installed = m_backend ? m_backend->printers() : QList<PrinterInfo>();
    return *m_installed;
}

QStringList Printer::printers()
{
    QStringList names;
    for (const PrinterInfo& printer : installed())
        names << printer.listName;
    return names;
}

int Printer::printerIndex()
{
    if (m_index < 0)
        setPrinterIndex(-1);
    return m_index;
}

QString Printer::printerInUse()
{
    const int index = m_index >= 0 ? m_index : defaultIndex();
    return index >= 0 && index < installed().size() ? installed().at(index).listName : QString();
}

int Printer::defaultIndex()
{
    return m_backend && !installed().isEmpty() ? m_backend->defaultPrinter() : -1;
}

void Printer::setPrinterIndex(int index)
{
    if (index == -1) {
        index = defaultIndex();
        if (index < 0)
            throw PrinterError(QStringLiteral("There is no default printer currently selected"));
    }
    if (index < 0 || index >= installed().size())
        throw indexOutOfRange();
    if (index != m_index)
        select(index, std::nullopt);
}

Printer::Device Printer::currentDevice()
{
    const PrinterInfo& printer = installed().at(printerIndex());
    return {printer.device, printer.driver, printer.port, &m_settings};
}

void Printer::setDevice(const QString& device, const QString&, const QString&,
                        const std::optional<QByteArray>& settings)
{
    const auto& list = installed();
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&device](const PrinterInfo& p) { return p.device == device; });
    if (found == list.end())
        throw indexOutOfRange();
    select(int(found - list.begin()), settings);
}

bool Printer::setup(PrinterSetupDialog& dialog)
{
    const int current = printerIndex();
    const auto choice = dialog.exec(installed(), installed().at(current).listName, m_settings);
    if (!choice)
        return false;
    select(indexOfListName(choice->printer), choice->settings);
    return true;
}

int Printer::indexOfListName(const QString& listName)
{
    const int index = int(printers().indexOf(listName));
    if (index < 0)
        throw indexOutOfRange();
    return index;
}

void Printer::select(int index, const std::optional<QByteArray>& settings)
{
    m_index = index;
    m_settings = settings ? *settings : m_backend->driverSettings(installed().at(index));
}

void Printer::beginDoc(const QString& title, int sheet)
{
    checkPrinting(false);
    const PrinterInfo& printer = installed().at(printerIndex());
    m_document = m_backend->startDocument(printer, documentSettings(), title, sheet);
    correct(m_document->painter(), m_correction);
}

QByteArray Printer::documentSettings()
{
    if (!m_paper)
        return m_settings;
    PrintSettings settings = DevMode::decode(m_settings);
    if (settings.pageSize.isEquivalentTo(*m_paper) && settings.orientation == QPageLayout::Portrait)
        return m_settings;
    const PaperOnPrinter known = m_backend->paperOn(installed().at(printerIndex()), *m_paper);
    settings.pageSize = *m_paper;
    settings.orientation = QPageLayout::Portrait;
    if (known.margins)
        settings.margins = *known.margins;
    if (!known.media.isEmpty())
        setOption(settings.cupsOptions, QStringLiteral("media"), known.media);
    return DevMode::encode(settings);
}

PageSetup Printer::pageSetup()
{
    const PrintSettings settings = DevMode::decode(documentSettings());
    QSizeF paper = settings.pageSize.size(QPageSize::Millimeter);
    if (settings.orientation == QPageLayout::Landscape)
        paper.transpose();
    return {paper, settings.margins, settings.resolution};
}

void Printer::endDoc(const SheetHandOver& handOver)
{
    checkPrinting(true);
    // The job is over whether or not it could be sent.
    const std::unique_ptr<PrintDocument> document = std::move(m_document);
    document->end(handOver);
}

void Printer::abort()
{
    checkPrinting(true);
    m_document->abort();
    m_document.reset();
}

QPainter& Printer::canvas()
{
    checkPrinting(true);
    return m_document->painter();
}

void Printer::checkPrinting(bool expected) const
{
    if (printing() == expected)
        return;
    throw AppError(expected ? QStringLiteral("Printer is not currently printing")
                            : QStringLiteral("Printing in progress"));
}
