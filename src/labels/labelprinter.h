#pragma once

#include "barcode/tbarcode.h"
#include "labels/pagegrid.h"
#include "labels/printhistory.h"
#include "labels/queuedlines.h"
#include "labels/queuestore.h"
#include "labels/runnotice.h"
#include "labels/screentextmetrics.h"
#include "labels/services.h"
#include "labels/settings.h"
#include "labels/sheetonpaper.h"
#include "labels/tnalepka.h"
#include "platform/errorguard.h"
#include "printer/morvalendefaultprinter.h"

#include <functional>
#include <memory>
#include <QImage>
#include <QList>
#include <QStringList>

class QPainter;

// The waiting labels: the queue of buffer lines and the composed records of one sheet of them,
// the sheet being shown or printed (record i belongs to line composedFrom + i).
struct LabelQueue {
    QueuedLines ListaLini;
    QList<TNalepka> ListaNal;
    int composedFrom = 0;
    // The places of the first sheet taken before line 0: the sheet in the printer is used that
    // far. Sheets after the first start at their first place.
    int usedPlaces = 0;
    // During a print run: the lines at the front whose sheets a printer has accepted. The print
    // journal records them, and they leave the queue when the run ends.
    int printed = 0;
};

// The settings converted to layout pixels.
struct PixelGeometry {
    int PixSzerN = 0;
    int PixWysN = 0;
    int PixMargL = 0;
    int PixMargG = 0;
    int PixMargMI = 0;
    int PixMargMO = 0;
    int PixSzerKK = 0;
};

// The label geometry in layout pixels: from the settings' whole millimetres, or, for a stock, from
// its lengths on paper.
PixelGeometry geometryOf(const Settings& settings);

// The label printer without a window: the settings, the queue and its files, the composition
// and drawing of labels, the printing run and the printer choice. The tray window drives it at
// every tick of its timer and shows what it composes; the batch run drives it on its own.
// Questions and reports go through the services' dialogs.
class LabelPrinter {
public:
    // Locates the configuration and reads the settings; the queue and the printer are restored
    // by OpenNal(QString()) and restorePrinter().
    LabelPrinter(const Services& services, const QString& executableDir,
                 const QStringList& arguments);
    ~LabelPrinter(); // lines still queued go to the saved-queue file

    Paths paths;
    Settings settings;
    LabelQueue queue;
    PixelGeometry geometry;
    QString WzIdent; // the identifier pattern in effect for drawing
    TBarcode KodKresk;
    QImage Logo;
    QueueStore queueStore;

    // Set by whoever shows the queue: its length has changed.
    std::function<void()> countChanged;
    // Set by whoever shows the queue: a print run took its printed labels off the queue, which
    // is saved right after; `asked` says whether the run asked its questions.
    std::function<void(bool asked)> printedTakenOff;
    // Set by whoever shows notices: a print run that asked no question, or that wrote its sheets
    // as files, has ended; the notice says what it printed and where, or why it failed.
    std::function<void(const RunNotice&)> runEnded;
    // Set while the settings dialog is open: a missing logo clears its logo check box.
    std::function<void()> logoSwitchedOff;

    // Settings and the label queue.
    void loadSettings();
    void OpenNal(const QString& name);
    void SaveNal();
    // The buffer, a file taken from it earlier or a saved queue not read yet join the queue.
    void takeBuffer();
    void KasujListeNalepek();
    void clearQueue();
    // The settings dialog changed the buffer: the waiting labels are dropped.
    void dropQueue();
    // Every change of ListaLini ends here: the saved-queue file mirrors the queue.
    void queueChanged();
    // The first free place that the print journal's printed sheets set, once it was settled.
    void takeSettledFirstFree();
    QueueLocation queueLocation() const;

    // Label layout and composition. Bmp1 is the size of the surface a label is measured for:
    // its width is the label width that the texts are centred in.
    void ParametryNalepki();
    PageGrid pageGrid() const;
    // Composes the first sheet: of the queue from the first free place, or of sample labels
    // from the first place (`demo`).
    void RysujNal(bool demo);
    // Composes the sheet that starts at line `first`.
    void composeSheet(int first, bool demo);
    // The lines that fill the sheet in the printer: its free places.
    int freePlaces() const { return settings.labelsPerSheet() - settings.usedPlaces(); }
    // Makes `place` (1 … labels per sheet) the first free place, for this and later runs, and
    // writes it to the settings file.
    void setFirstFree(int place);
    void RysNalep(QSize Bmp1, const QString& s, const QString& NazBib1, const QString& NazBib2,
                  int xn, int yn, bool demo);
    void WyswNazBib(QSize Bmp1, const QString& NazBib1, const QString& NazBib2, int& NapY, int xn,
                    int yn);
    void WyswSygn(QSize Bmp1, const QString& Sygn, int& NapY, int xn, int yn);
    void WyswNrIdent(QSize Bmp1, int& MaxY, int xn, int yn);
    void loadLogo(); // from the settings' Path into Logo; BrakPliku when there is no file
    void BrakPliku(const QString& name, QImage& bmp);
    // The logo cannot be used (`why`): reported, and the labels go without it for the run.
    void switchLogoOff(const QString& why, QImage& bmp);
    TNalepka* AktNalepka = nullptr; // the record being composed
    // Texts are measured through this; tests put fixed metrics in its place.
    std::unique_ptr<TextMetrics> metrics = std::make_unique<ScreenTextMetrics>();

    // Drawing on the screen: one label on a bitmap, one layout pixel to one pixel.
    void PokazNalepke(const TNalepka& Nalepka, QImage& bmp);
    void RysujBarcode(QPainter& Canvas, const TNalepka& Nalepka, int PixSzerKK);

    // Printing: the labels up to the line IloscNalepek, one job per sheet.
    void DrukujStrone(int IloscNalepek, bool demo);
    // A sheet of sample labels with outlined barcodes; the queue's records and geometry stay.
    void printTestPage();
    void DrukujNalepke(int i, int ppiSzerN, double korppi, bool demo);
    void DrukujBarcode(QPainter& Canvas, const TNalepka& Nalepka, int PixSzerKK, double korppi,
                       bool demo);
    void DrukujLogo(QPainter& Canvas, const TNalepka& Nalepka, double korppi);
    void DlugiNapis(const QString& txt);
    void BrakDrukarki();
    // Set while a print run is in progress: polling ticks wait until it is over.
    bool printRunInProgress = false;
    // Set for a print run that nobody may be watching: like printing without preview, it asks
    // no question.
    bool askNothing = false;
    // Set for a print run that also prints the labels that do not fill a sheet, at the end.
    bool printPartialSheet = false;
    // A print run that asked nothing failed before it began (`failure` is why): its notice.
    void tellRunFailed(const QString& failure);

    // The history of printed sheets, newest first.
    QList<PrintedSheet> printHistory() const;
    QString historyFile() const;
    // The sheet numbered `number` in the history; raises AppError saying there is none.
    PrintedSheet historySheet(int number) const;
    // The sheet that `name` names, when it is one of this copy's history; raises AppError saying
    // why not (another history, no such number, another sheet under it).
    PrintedSheet historySheet(const SheetName& name) const;
    SheetName nameOf(const PrintedSheet& printed) const;
    // Prints the labels of `sheets` again, from the first free place on, as a run that asks
    // nothing. The queue stays as it is; the run joins the history as a repetition. Returns how
    // many labels a printer accepted.
    int reprint(const QList<PrintedSheet>& sheets);

    // Placing labels on paper.
    // Prints the outlines of the labels of `stock`, or of the settings' sheet, with crosses and
    // millimetre rulers at two opposite corners, to measure the printer's correction against.
    void printCalibrationPage(const std::optional<LabelStock>& stock);
    // The paper's right and bottom edges in the preview's layout pixels; none without a printer.
    std::optional<QPointF> paperEdge();

    // The printer choice.
    void restorePrinter(); // at start-up: the printer named in the settings, its saved settings
    // The printer named in the settings is not installed (or the print service is down), so the
    // sheets would go to another one unnoticed: says so, naming both.
    void tellNamedPrinterMissing();
    void SetSelectedPrinter(const QString& name);
    void UstawDrukButClick();
    // When the settings dialog is saved: the chosen printer's settings go to zelk_nal.prs.
    void savePrinterSettings();
    MorvalenDefaultPrinter& printer(); // the program's printer object, installed at first use
    QString printerInUse();      // the list name of the printer the next sheet goes to, empty: none
    QString PrinterSettingsName; // the name the chosen printer's settings are held under

    const ErrorGuard& guard() const { return m_guard; }
    Dialogs& dialogs() const { return *m_services.dialogs; }

private:
    void reportSetAside(const QList<SetAsideLine>& lines);
    void printAttempt(int IloscNalepek, bool demo);
    // In a run that prints the queue: the lines up to `last` whose own text cannot print on the
    // open sheet are set aside; returns the last line to print now.
    int setAsideOwnFaults(int last, int ppiSzerN, double korppi);
    QString ownTextFault(const QString& line, int ppiSzerN, double korppi);
    QString paperTextFault(const TNalepka& Nalepka, int ppiSzerN, double korppi);
    int fitBarcodeOnPaper(const TNalepka& Nalepka, int PixSzerKK, double korppi);
    void endSheet(int sheetEnd, bool demo);
    // The page of the run's documents: the stock's paper, the printer's correction. Raises
    // GridOffPage when the grid leaves it.
    void preparePaper();
    PageSetup pageInPrinter();
    SheetOnPaper sheetOnPaper() const;
    QRect frameOnPaper(int i) const; // the frame of line i's label on the run's page
    void stopRun(const QString& failure);
    void applyPrinterSettings();
    bool askYesNo(const QString& question);
    bool asksQuestions() const { return !settings.BezWyswB && !askNothing; }
    QString printerSettingsFile() const;
    void takePrintedOffQueue(bool asked);
    SheetRecord sheetRecord(int end);
    // The line after the last of the sheet that holds line `first`.
    int sheetEnd(int first) const;
    QString printFolder() const; // where the file printer writes its sheets
    void tellRunEnded(int printed, bool asked);
    void tellTestPagePrinted();

    Services m_services;
    ErrorGuard m_guard;
    QString m_executableDir;
    QStringList m_arguments;
    std::unique_ptr<MorvalenDefaultPrinter> m_printer;
    QString m_runFailure; // the last error the running print run reported
    PageSetup m_page;     // the page of the running print run
    // During a reprint: the queue's lines, while the reprinted ones stand in their place.
    QueuedLines* m_queueDuringReprint = nullptr;
};
