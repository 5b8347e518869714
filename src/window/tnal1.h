#pragma once

#include "labels/labelprinter.h"
#include "platform/desktop/notifier.h"
#include "platform/desktop/traypresence.h"
#include "window/tickreports.h"

#include <memory>
#include <QImage>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

class HistoryWindow;
class QAction;
class PageImage;
class QMenu;
class QPushButton;
class QScrollArea;
class QStatusBar;
class TrayWatch;

struct WindowState {
    bool zamknij = false;  // close without asking
    bool HideForm = false; // dismissed: not shown again until the queue length changes
};

// The main window: it carries the tray icon and its menu, shows the first sheet of the queue,
// and owns the one-second polling timer that drives the label printer it holds.
class TNal1 : public QWidget {
    Q_OBJECT
public:
    // FormCreate: the label printer reads the settings, the saved queue and the printer; the
    // window ends hidden.
    TNal1(const Services& services, const QString& executableDir, const QStringList& arguments,
          QWidget* parent = nullptr);
    ~TNal1() override;

    LabelPrinter& labels() { return m_labels; }
    WindowState state;

    QTimer Timer1;
    QSystemTrayIcon* TrayIcon1 = nullptr; // none until the desktop has a notification area
    QMenu* PopupMenu1 = nullptr;
    QPushButton* DrukujBut = nullptr;
    QPushButton* UstawParBut = nullptr;
    QPushButton* RezygnujBut = nullptr;
    QPushButton* OProgramie = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    PageImage* Image = nullptr; // the page image in the scroll box; none while hidden
    QImage pageBitmap;          // the monochrome sheet that Image shows

    // Window handlers.
    void FormShow();
    void Timer1Timer();
    void DrukujButClick();
    void Drukujstron1Click();
    // "Drukuj stronę" for a request of another copy or a full sheet without preview: nobody may
    // be watching, so the run asks no question and ends with a notice.
    void printPageWithoutQuestions();
    void Pokastron1Click();
    void TrayIcon1DblClick();
    void UstawParButClick();
    void RezygnujButClick();
    void Usunnal1Click();
    void OProgramieClick();
    void Zamknijprogram1Click();
    void KasujObiekty();
    // "Historia wydruków…": the window of the printed sheets, brought up to date.
    void historyClick();
    // Prints sheets of the history again, as a run that asks nothing; the queue stays.
    void reprint(const QList<PrintedSheet>& sheets);
    HistoryWindow* historyWindow = nullptr; // made at its first opening

    // The end of the session: saves the queue; true when the session may end (the program then
    // closes without a question).
    bool CanCloseComp();
    // The close request of another program and the termination signals: the queue is saved and
    // the program ends, whatever box is open. A failed save is reported on standard error and
    // the program ends all the same: the lines are in the saved-queue file as last saved, or
    // still in the buffer.
    void CloseNow();

    // The count hint of the tray icon, which the icon shows under the application title.
    QString hint() const { return m_hint; }
    void setHint(const QString& text);

    // The label printer's geometry and logo for the current settings, and a white page image
    // of that size in the scroll box.
    void ParametryNalepki();
    // The first sheet of composed labels on the page image, the places used already hatched,
    // and the first free place named in the status line.
    void PokazStrone();
    // A click on the page image at `point`: the place clicked becomes the first free one.
    void pageClicked(QPoint point);
    void clearPage(); // the whole page image white again
    // A sheet of sample labels; the page image stays as it is.
    void printTestPage();

    const ErrorGuard& guard() const { return m_labels.guard(); }

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
    void makeTrayIcon(TrayPresence::Kind kind);
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    void makeNotifier();
    bool FormClose(); // true: the window closes
    void showOrPrintFullSheet();
    bool saveBeforeClosing();
    void showRemaining(bool asked);
    void hatchUsedPlaces();
    void showRunNotice(const RunNotice& notice);

    TickReports m_reports; // every message of the window goes through it
    LabelPrinter m_labels;
    const TrayPresence* m_trays;
    std::unique_ptr<TrayWatch> m_trayWatch; // while the desktop has no notification area
    TrayPresence::Kind m_trayKind = TrayPresence::Kind::None;
    QString m_hint;
    QAction* m_defaultItem = nullptr;
    bool m_decidingToClose = false; // the close question may be open
    std::unique_ptr<Notifier> m_ownNotifier;
    Notifier* m_notifier = nullptr;
    QString m_lastFailureNotice; // a failure that repeats at every tick is told once
};
