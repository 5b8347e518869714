// Printing sheets of labels: one print job per sheet, each composed when it comes, the questions
// between sheets and after the run, and taking the printed labels off the queue.
#include "labels/labelprinter.h"

#include "labels/labelfault.h"
#include "labels/texts.h"
#include "platform/printing/cupsprinterbackend.h"
#include "platform/rounding.h"

#include <QDateTime>
#include <QPaintDevice>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScopeGuard>

namespace {

QString jobTitle()
{
    return QStringLiteral("ZELK - Kody kreskowe");
}

// The print journal could not record a sheet, before it went out or when the printer had it:
// the sheet does not print, and the run stops and says why.
class SheetNotRecorded : public AppError {
public:
    using AppError::AppError;
};

template <typename Step> void recording(Step step)
{
    try {
        step();
    } catch (const AppError& error) {
        throw SheetNotRecorded(error.text());
    }
}

} // namespace

void LabelPrinter::DrukujStrone(int IloscNalepek, bool demo)
{
    // A tick that came during the questions would start a second run inside this one.
    const QScopedValueRollback running(printRunInProgress, true);
    m_runFailure.clear();
    if (!demo)
        queueStore.checkCanRecord(queueLocation()); // before anything prints
    printAttempt(IloscNalepek, demo);
    if (demo) {
        tellTestPagePrinted();
        return;
    }
    const bool asking = asksQuestions();
    while (asking && askYesNo(QStringLiteral("Czy powtórzyć wydruk?")))
        printAttempt(IloscNalepek, demo);
    const int printed = std::exchange(queue.printed, 0);
    // Told before the printed labels leave the queue, whose save may fail and be reported.
    tellRunEnded(printed, asking);
    takePrintedOffQueue(asking);
}

void LabelPrinter::printAttempt(int IloscNalepek, bool demo)
{
    MorvalenDefaultPrinter& installed = printer();
    if (m_services.printers)
        m_services.printers->setFileFolder(printFolder());
    const int perSheet = settings.labelsPerSheet();
    try {
        // A repetition starts again at the first sheet; a sheet composed while the queue was
        // shorter is composed again.
        if (queue.composedFrom != 0 || queue.ListaNal.size() < qMin(sheetEnd(0), IloscNalepek + 1))
            composeSheet(0, demo);
        applyPrinterSettings();
        preparePaper();
        int page = 1;
        installed.beginDoc(jobTitle(), page);
        const double korppi = installed.canvas().device()->logicalDpiY() / 100.0;
        const int ppiSzerN = roundHalfEven(geometry.PixSzerN * korppi);
        if (!demo)
            IloscNalepek = setAsideOwnFaults(IloscNalepek, ppiSzerN, korppi);
        if (IloscNalepek < 0) {
            installed.abort(); // every label was set aside
            return;
        }
        for (int k = 0; k <= IloscNalepek; ++k) {
            if (k == sheetEnd(queue.composedFrom)) {
                endSheet(k, demo);
                // Only full sheets follow the first, unless the run is to print every label.
                if (IloscNalepek + 1 - k < perSheet && !printPartialSheet)
                    break;
                if (asksQuestions() && !askYesNo(QStringLiteral("Czy drukować następną stronę?")))
                    break;
                composeSheet(k, demo);
                installed.beginDoc(jobTitle(), ++page);
            }
            DrukujNalepke(k, ppiSzerN, korppi, demo);
        }
        if (installed.printing())
            endSheet(IloscNalepek + 1, demo);
    } catch (const SheetNotRecorded& error) {
        stopRun(error.text());
    } catch (const SheetNotWritten& error) {
        stopRun(error.text());
    } catch (const GridOffPage& error) {
        stopRun(error.text());
    } catch (const UnprintableLabel& error) {
        stopRun(error.text());
    } catch (const PrinterError&) {
        if (installed.printing())
            installed.abort();
        BrakDrukarki();
    } catch (const AppError& error) {
        DlugiNapis(error.text());
    } catch (const std::exception& error) {
        DlugiNapis(QString::fromLocal8Bit(error.what()));
    }
}

// A failure that is neither the printer's nor a label's: the open sheet is dropped and the run
// stops, saying why.
void LabelPrinter::stopRun(const QString& failure)
{
    MorvalenDefaultPrinter& installed = printer();
    if (installed.printing())
        installed.abort();
    m_runFailure = failure;
    m_guard.report(failure);
}

// Ends the sheet of the records before `end`. Its record in the print journal is flushed before
// anything of it can print and marked when the printer has it, so that a crash at any point
// leaves every label either on paper or waiting, never both. The first free place moves behind
// the sheet's last label with it.
void LabelPrinter::endSheet(int end, bool demo)
{
    MorvalenDefaultPrinter& installed = printer();
    if (demo) {
        installed.endDoc();
        return;
    }
    SheetRecord sheet = sheetRecord(end);
    const QueueLocation location = queueLocation();
    int sequence = 0;
    installed.endDoc({[&](const QString& destination) {
                          sheet.destination = destination;
                          recording([&] {
                              sequence = queueStore.recordSheet(
                                  location, sheet,
                                  m_queueDuringReprint ? *m_queueDuringReprint : queue.ListaLini);
                          });
                      },
                      [&](bool held) {
                          recording([&] { queueStore.sheetAccepted(location, sequence, held); });
                          queue.printed = qMax(queue.printed, end);
                          settings.PierwszaWolna = sheet.firstFree;
                      },
                      [&] { queueStore.sheetReleased(location, sequence); }});
}

// The record of the sheet of the lines from the composed ones to `end`. A reprinted sheet holds
// no bytes of the saved-queue file, so it moves no front of the queue.
SheetRecord LabelPrinter::sheetRecord(int end)
{
    const int first = queue.composedFrom;
    const int perSheet = settings.labelsPerSheet();
    SheetRecord sheet;
    sheet.from = queue.ListaLini.fileOffset(first);
    sheet.to = queue.ListaLini.fileOffset(end);
    sheet.lines = end - first;
    sheet.firstPlace = (queue.usedPlaces + first) % perSheet + 1;
    sheet.firstFree = (queue.usedPlaces + end) % perSheet + 1;
    sheet.repeated = end <= queue.printed;
    sheet.when = QDateTime::currentDateTime();
    sheet.printer = printerInUse();
    sheet.labels = queue.ListaLini.mid(first, end - first);
    if (m_queueDuringReprint) {
        sheet.from = sheet.to = 0;
        sheet.repeated = true;
    }
    return sheet;
}

void LabelPrinter::applyPrinterSettings()
{
    MorvalenDefaultPrinter& installed = printer();
    if (installed.get_device_modes_list_item_by_name(PrinterSettingsName)) {
        installed.use_print_settings_of(PrinterSettingsName);
        return;
    }
    PrinterSettingsName = settings.PrinterName;
    installed.save_current_print_settings_as(PrinterSettingsName);
    if (DevModeEnv* held = installed.get_device_modes_list_item_by_name(PrinterSettingsName))
        held->use_mode();
    else
        BrakDrukarki();
}

bool LabelPrinter::askYesNo(const QString& question)
{
    return m_services.dialogs->message({question, Texts::messageCaption(), MessageButtons::YesNo,
                                        MessageIcon::Question}) == MessageAnswer::Yes;
}

void LabelPrinter::takePrintedOffQueue(bool asked)
{
    queueStore.dropPrinted(queue.ListaLini);
    RysujNal(false); // the first sheet of what is left, for the preview
    // What is left is shown before the save, which may fail and be reported.
    if (printedTakenOff)
        printedTakenOff(asked);
    queueChanged(); // the printed lines leave the saved-queue file: the journal is compacted
}

QString LabelPrinter::printFolder() const
{
    return paths.FilePath + QStringLiteral("wydruki/");
}

// Nobody answered the run's questions, or its sheets landed in a folder: a notice says what
// became of them. A run that printed nothing has only a failure to tell.
void LabelPrinter::tellRunEnded(int printed, bool asked)
{
    if (!runEnded)
        return;
    if (printed == 0) {
        if (!asked && !m_runFailure.isEmpty())
            tellRunFailed(m_runFailure);
        return;
    }
    const QString printerName = printerInUse();
    const bool toFiles = printerName == CupsPrinterBackend::filePrinterName();
    if (!asked || toFiles)
        runEnded(
            runNotice(printed, printerName, toFiles ? printFolder() : QString(), m_runFailure));
}

// A sheet of labels used without a question is told like a run that asks nothing; a failure
// was reported already.
void LabelPrinter::tellTestPagePrinted()
{
    if (!runEnded || !m_runFailure.isEmpty())
        return;
    const QString printerName = printerInUse();
    const bool toFiles = printerName == CupsPrinterBackend::filePrinterName();
    runEnded(testPageNotice(printerName, toFiles ? printFolder() : QString()));
}

void LabelPrinter::tellRunFailed(const QString& failure)
{
    if (runEnded)
        runEnded(runNotice(0, QString(), QString(), failure));
}

void LabelPrinter::BrakDrukarki()
{
    m_runFailure = QStringLiteral("Brak domyślnej drukarki");
    m_services.dialogs->message(
        {m_runFailure, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error});
}

void LabelPrinter::printTestPage()
{
    // The queue's records and the geometry are set aside for the sample sheet and put back
    // afterwards, whatever happens in between.
    QList<TNalepka> records = std::exchange(queue.ListaNal, {});
    const int composedFrom = queue.composedFrom;
    const int usedPlaces = queue.usedPlaces;
    const PixelGeometry pixels = geometry;
    const QString pattern = WzIdent;
    const auto restore = qScopeGuard([&] {
        queue.ListaNal = std::move(records);
        queue.composedFrom = composedFrom;
        queue.usedPlaces = usedPlaces;
        geometry = pixels;
        WzIdent = pattern;
    });
    ParametryNalepki();
    RysujNal(true);
    DrukujStrone(settings.labelsPerSheet() - 1, true);
}
