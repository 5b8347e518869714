#pragma once

#include "barcode/tbarcode.h"
#include "main/pagegrid.h"
#include "main/queuestore.h"
#include "main/screentextmetrics.h"
#include "main/services.h"
#include "main/settings.h"
#include "main/tickreports.h"
#include "main/tnalepka.h"
#include "platform/errorguard.h"
#include "printer/morvalendefaultprinter.h"

#include <memory>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QSystemTrayIcon;

// The waiting labels: the queue of buffer lines and, while a sheet is shown or printed, one
// composed record per line (record i belongs to line i).
struct LabelQueue {
    QStringList ListaLini;
    QList<TNalepka> ListaNal;
    // During a print run: the lines at the front whose sheets a printer has accepted. They are
    // out of the saved-queue file already and leave the queue when the run ends.
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

struct WindowState {
    bool zamknij = false;  // close without asking
    bool HideForm = false; // dismissed: not shown again until the queue length changes
};

// The main window and the hub of the program: it holds the settings and the queue, carries the
// tray icon and its menu, and owns the one-second polling timer that drives everything.
class TNal1 : public QWidget {
    Q_OBJECT
public:
    // FormCreate: locates the configuration, reads the settings and the saved queue, restores
    // the printer, and ends hidden.
    TNal1(const Services& services, const QString& executableDir, const QStringList& arguments,
          QWidget* parent = nullptr);
    ~TNal1() override; // FormDestroy

    Paths paths;
    Settings settings;
    LabelQueue queue;
    PixelGeometry geometry;
    WindowState state;
    QString WzIdent; // the identifier pattern in effect for drawing

    TBarcode KodKresk;
    QTimer Timer1;
    QSystemTrayIcon* TrayIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QPushButton* DrukujBut = nullptr;
    QPushButton* UstawParBut = nullptr;
    QPushButton* RezygnujBut = nullptr;
    QPushButton* OProgramie = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* Image = nullptr; // the page image in the scroll box; none while hidden
    QImage pageBitmap;       // the monochrome sheet that Image shows
    QImage Logo;

    // Window handlers.
    void FormShow();
    void Timer1Timer();
    void DrukujButClick();
    void Drukujstron1Click();
    void Pokastron1Click();
    void TrayIcon1DblClick();
    void UstawParButClick();
    void RezygnujButClick();
    void Usunnal1Click();
    void OProgramieClick();
    void Zamknijprogram1Click();
    void KasujObiekty();

    // The end of the session: saves the queue; true when the session may end (the program then
    // closes without a question).
    bool CanCloseComp();
    // The close request of another program and the termination signals: the queue is saved and
    // the program ends, whatever box is open. A failed save is reported on standard error and
    // the program ends all the same: the lines are in the saved-queue file as last saved, or
    // still in the buffer.
    void CloseNow();

    // The count hint of the tray icon.
    QString hint() const;
    void setHint(const QString& text);

    // Settings and the label queue.
    void loadSettings();
    void OpenNal(const QString& name);
    void SaveNal();
    void KasujListeNalepek();
    void clearQueue();
    // The settings dialog changed the buffer: the waiting labels are dropped.
    void dropQueue();
    // Every change of ListaLini ends here: the saved-queue file mirrors the queue.
    void queueChanged();
    QueueLocation queueLocation() const;
    QueueStore queueStore;

    // Label layout, drawing and preview. Bmp1 is the size of the surface a label is measured
    // for: its width is the label width that the texts are centred in.
    void ParametryNalepki();
    PageGrid pageGrid() const;
    void RysujNal(bool demo);
    void RysNalep(QSize Bmp1, const QString& s, const QString& NazBib1, const QString& NazBib2,
                  int xn, int yn, bool demo);
    void WyswNazBib(QSize Bmp1, const QString& NazBib1, const QString& NazBib2, int& NapY, int xn,
                    int yn);
    void WyswSygn(QSize Bmp1, const QString& Sygn, int& NapY, int xn, int yn);
    void WyswNrIdent(QSize Bmp1, int& MaxY, int xn, int yn);
    void loadLogo(); // from the settings' Path into Logo; BrakPliku when there is no file
    void BrakPliku(const QString& name, QImage& bmp);
    // Set while the settings dialog is open: a missing logo clears its logo check box.
    std::function<void()> logoSwitchedOff;
    void PokazNalepke(const TNalepka& Nalepka, QImage& bmp);
    void RysujBarcode(QPainter& Canvas, const TNalepka& Nalepka, int PixSzerKK);
    void PokazStrone();
    void clearPage();               // the whole page image white again
    TNalepka* AktNalepka = nullptr; // the record being composed
    // Texts are measured through this; tests put fixed metrics in its place.
    std::unique_ptr<TextMetrics> metrics = std::make_unique<ScreenTextMetrics>();

    // Printing.
    void DrukujStrone(int IloscNalepek, bool demo);
    void printTestPage();
    void DrukujNalepke(int i, int ppiSzerN, double korppi, bool demo);
    void DrukujBarcode(QPainter& Canvas, const TNalepka& Nalepka, int PixSzerKK, double korppi,
                       bool demo);
    void DrukujLogo(QPainter& Canvas, const TNalepka& Nalepka, double korppi);
    void DlugiNapis(const QString& txt);
    void BrakDrukarki();
    // Set while a print run is in progress: polling ticks wait until it is over.
    bool printRunInProgress = false;

    // The printer choice.
    void restorePrinter(); // at start-up: the printer named in the settings, its saved settings
    void SetSelectedPrinter(const QString& name);
    void UstawDrukButClick();
    // When the settings dialog is saved: the chosen printer's settings go to zelk_nal.prs.
    void savePrinterSettings();
    MorvalenDefaultPrinter& printer(); // the program's printer object, installed at first use
    QString printerInUse();            // the list name of the printer the next sheet goes to
    QString PrinterSettingsName;       // the name the chosen printer's settings are held under

    const ErrorGuard& guard() const { return m_guard; }

signals:
    // The window has closed for good; the program ends.
    void closed();
    // "&O programie" was pressed.
    void aboutRequested();
    // "&Ustaw parametry " was pressed: the settings dialog opens, modal.
    void settingsRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildTray();
    bool FormClose(); // true: the window closes
    void takeBuffer();
    void reportSetAside(const QList<SetAsideLine>& lines);
    void showOrPrintFullSheet();
    bool saveBeforeClosing();
    void printAttempt(int IloscNalepek, bool demo);
    void endSheet(int sheetEnd, bool demo);
    void applyPrinterSettings();
    bool askYesNo(const QString& question);
    QString printerSettingsFile() const;
    void takePrintedOffQueue(int count, bool asked);
    void showRemaining(bool asked);

    TickReports m_reports; // every message of the window goes through it
    Services m_services;
    ErrorGuard m_guard;
    QString m_executableDir;
    QStringList m_arguments;
    QAction* m_defaultItem = nullptr;
    std::unique_ptr<MorvalenDefaultPrinter> m_printer;
    bool m_decidingToClose = false; // the close question may be open
};
