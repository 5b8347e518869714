#pragma once

#include "labels/settings.h"

#include <QDialog>
#include <QImage>

class Dialogs;
class LabelPrinter;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SpinEdit;
class TNal1;

// The settings dialog "Parametry wydruku naklejek". Most controls write their value straight
// into the main window's settings as they change, so that the sample label and the test page,
// drawn by the main window's own operations, show the values being edited; the snapshot taken
// at opening makes this reversible. Closing either commits (settings file, printer settings)
// or discards (the snapshot back).
class TNal2 : public QDialog {
    Q_OBJECT
public:
    TNal2(TNal1& main, Dialogs& dialogs, QWidget* parent = nullptr); // FormCreate
    ~TNal2() override;

    // Controls, by group.
    SpinEdit* SzerNalep = nullptr;
    SpinEdit* WysNalep = nullptr;
    QCheckBox* ZLogo = nullptr;
    QLineEdit* LPath = nullptr;
    QPushButton* PrzegBmp = nullptr;
    SpinEdit* SzerKK = nullptr;
    QLineEdit* WzIdent = nullptr;
    QPushButton* NazwaBibBut = nullptr;
    QPushButton* SygnatBut = nullptr;
    QPushButton* IdentBut = nullptr;
    SpinEdit* IloscKolumn = nullptr;
    SpinEdit* IloscNalKol = nullptr;
    SpinEdit* MargG = nullptr;
    SpinEdit* MargL = nullptr;
    SpinEdit* MargMO = nullptr;
    SpinEdit* MargMI = nullptr;
    QCheckBox* BezWysw = nullptr;
    QCheckBox* BezNazBib = nullptr;
    QCheckBox* BezSygn = nullptr;
    QCheckBox* BezRamki = nullptr;
    QLineEdit* BufPath = nullptr;
    QPushButton* PrzegBuf = nullptr;
    QCheckBox* chbKodowanie = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* ImageNal = nullptr;
    QPushButton* Button3 = nullptr; // "&Wybierz drukarkę"
    QPushButton* Button1 = nullptr; // "Drukuj stronę wzorcową"
    QPushButton* Button4 = nullptr; // "&Anuluj"
    QPushButton* Button2 = nullptr; // "&Ustaw"

    QPushButton* ArkuszBut = nullptr; // "Arkusz naklejek…": the chooser of the label stock
    QImage sampleBitmap;

    // The snapshot: the settings at opening, after the boxes clamped them.
    struct Snapshot {
        Settings settings;
        QString FilePath;
        QString NazwaPliku;
    } TMP;

    bool Creating = false;
    bool Zapisane = false;
    bool Zamykane = false;

    void FormActivate();
    void PodgladNal();
    void Button1Click();
    void Button2Click();
    void Button4Click();
    // The sheet becomes `stock`: the boxes take its nearest whole millimetres, the settings the
    // exact stock, and the sample follows.
    void applyStock(const LabelStock& stock);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // Building the window.
    void buildSingleLabelGroup();
    void buildFontGroup(QGroupBox* parent);
    void buildPageGroup();
    void buildPrintoutsGroup();
    void buildBufferRow();
    void buildCommandButtons();
    void connectHandlers();
    void buildStockButton(QGroupBox* group);
    void connectStockHandlers();
    void chooseStock();
    void fillControls();
    void placeCommandButtons();

    // Handlers of the controls.
    void SzerNalepChange();
    void WysNalepChange();
    void SzerKKChange();
    void BezSygnClick();
    void BezNazBibClick();
    void ZLogoClick();
    void PrzegBmpClick();
    void chooseFont(LabelFont& font);
    void PrzegBufClick();
    void refreshUnlessCreating();

    // Closing.
    bool FormClose(); // false: the dialog stays open
    Settings editedSettings() const;
    void applyControls(const Settings& edited);
    void discard();
    void rebuildMainWindow();
    void logoSwitchedOff();

    TNal1& m_main;
    LabelPrinter& m_labels; // the settings edited, and the sample's composition and drawing
    Dialogs& m_dialogs;
};
