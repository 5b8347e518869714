#pragma once

#include "barcode/tbarcode.h"
#include "main/services.h"
#include "main/settings.h"
#include "main/tnalepka.h"
#include "platform/errorguard.h"

#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QSystemTrayIcon;

// The waiting labels: the queue of buffer lines and, while a sheet is shown or printed, one
// composed record per line (record i belongs to line i).
struct LabelQueue {
    QStringList ListaLini;
    QList<TNalepka> ListaNal;
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

    // Closing. Each returns the answer of its message: true when the program goes on closing.
    bool CanCloseComp();
    bool CloseNow();

    // The count hint of the tray icon.
    QString hint() const;
    void setHint(const QString& text);

    // Settings and the label queue.
    void loadSettings();
    void OpenNal(const QString& name);
    void SaveNal();
    void KasujListeNalepek();
    void clearQueue();

    // Label layout, drawing and preview.
    void ParametryNalepki();
    void RysujNal(bool demo);
    void PokazStrone();

    // Printing.
    void DrukujStrone(int IloscNalepek, bool demo);
    void printTestPage();
    void restorePrinter();

    const ErrorGuard& guard() const { return m_guard; }

signals:
    // The window has closed for good; the program ends.
    void closed();
    // "&O programie" was pressed.
    void aboutRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildTray();
    bool FormClose(); // true: the window closes
    bool saveBeforeClosing();

    Services m_services;
    ErrorGuard m_guard;
    QString m_executableDir;
    QStringList m_arguments;
    QAction* m_defaultItem = nullptr;
};
