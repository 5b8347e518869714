// The settings dialog: its window, its controls and filling them at opening.
#include "dialogs/tnal2.h"

#include "dialogs/commandbutton.h"
#include "dialogs/pictograms.h"
#include "dialogs/spinedit.h"
#include "window/tnal1.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kDesignWidth = 592;
constexpr int kDesignHeight = 536;

QFont tahoma11()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

QLabel* label(const QString& text, QWidget* parent, int x, int y, int width = -1)
{
    auto* widget = new QLabel(text, parent);
    widget->move(x, y);
    widget->resize(width > 0 ? width : widget->sizeHint().width(), 13);
    return widget;
}

SpinEdit* spin(int minimum, int maximum, QWidget* parent, int x, int y)
{
    auto* box = new SpinEdit(minimum, maximum, parent);
    box->setGeometry(x, y, 45, 21);
    return box;
}

// A spin box with its caption in front (which takes its mnemonic) and "mm" behind.
SpinEdit* millimetres(const QString& caption, int minimum, int maximum, QWidget* parent, int x,
                      int y, int boxX)
{
    SpinEdit* box = spin(minimum, maximum, parent, boxX, y);
    label(caption, parent, x, y + 4)->setBuddy(box);
    label(QStringLiteral("mm"), parent, boxX + 49, y + 4);
    return box;
}

SpinEdit* pictogramBox(const QPixmap& pictogram, int minimum, int maximum, QWidget* parent, int x,
                       int y)
{
    auto* picture = new QLabel(parent);
    picture->setPixmap(pictogram);
    picture->setGeometry(x, y, 24, 24);
    SpinEdit* box = spin(minimum, maximum, parent, x + 28, y + 1);
    label(QStringLiteral("mm"), parent, x + 77, y + 5);
    return box;
}

QPushButton* button(const QString& caption, QWidget* parent, QRect geometry)
{
    auto* widget = new CommandButton(caption, parent);
    widget->setGeometry(geometry);
    return widget;
}

QCheckBox* checkBox(const QString& caption, QWidget* parent, int x, int y, int width = 115)
{
    auto* box = new QCheckBox(caption, parent);
    box->setGeometry(x, y, width, 17);
    return box;
}

} // namespace

TNal2::TNal2(TNal1& main, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , m_main(main)
    , m_labels(main.labels())
    , m_dialogs(dialogs)
{
    setWindowTitle(QStringLiteral("Parametry wydruku naklejek"));
    setFont(tahoma11());
    setFixedSize(kDesignWidth, kDesignHeight);
    move(120, 131);

    buildSingleLabelGroup();
    buildPageGroup();
    buildPrintoutsGroup();
    buildBufferRow();
    buildCommandButtons();
    ImageNal = new QLabel(this);
    ImageNal->hide();
    connectStockHandlers(); // before the others: an edit drops the stock before they refresh
    connectHandlers();
    fillControls();
}

TNal2::~TNal2()
{
    m_labels.logoSwitchedOff = nullptr;
}

void TNal2::buildSingleLabelGroup()
{
    auto* group = new QGroupBox(QStringLiteral(" Parametry pojedynczej naklejki "), this);
    group->setGeometry(6, 6, 580, 130);
    SzerNalep = millimetres(QStringLiteral("&Szerokość"), 30, 99, group, 10, 20, 80);
    WysNalep = millimetres(QStringLiteral("&Wysokość"), 10, 50, group, 170, 20, 235);
    ZLogo = checkBox(QStringLiteral("Logo:"), group, 10, 52, 60);
    LPath = new QLineEdit(group);
    LPath->setGeometry(80, 50, 330, 21);
    PrzegBmp = button(QStringLiteral("..."), group, {412, 50, 25, 21});
    SzerKK = millimetres(QStringLiteral("Szerokość kodu kreskowego"), 20, 99, group, 10, 78, 170);
    WzIdent = new QLineEdit(group);
    WzIdent->setGeometry(170, 104, 130, 21);
    label(QStringLiteral("Wzorzec  identyfikatora"), group, 10, 108)->setBuddy(WzIdent);
    buildStockButton(group);
    buildFontGroup(group);
}

void TNal2::buildFontGroup(QGroupBox* parent)
{
    auto* group = new QGroupBox(QStringLiteral(" Ustawienia czcionki "), parent);
    group->setGeometry(580 - 121 - 6, 14, 121, 109);
    NazwaBibBut = button(QStringLiteral("Na&zwa"), group, {10, 18, 101, 25});
    SygnatBut = button(QStringLiteral("S&ygnatura"), group, {10, 47, 101, 25});
    IdentBut = button(QStringLiteral("&Identyfikator"), group, {10, 76, 101, 25});
}

void TNal2::buildPageGroup()
{
    auto* group = new QGroupBox(QStringLiteral(" Układ naklejek na stronie "), this);
    group->setGeometry(6, 144, 441, 106);
    IloscKolumn = spin(1, 20, group, 70, 32);
    label(QStringLiteral("Kolumny"), group, 10, 36);
    IloscNalKol = spin(1, 50, group, 70, 64);
    label(QStringLiteral("Wiersze"), group, 10, 68);
    label(QStringLiteral("Przesunięcie na stronie"), group, 140, 16);
    MargG = pictogramBox(Pictograms::arrowOntoTopEdge(), 0, 99, group, 140, 34);
    MargL = pictogramBox(Pictograms::arrowOntoLeftEdge(), 0, 99, group, 140, 66);
    label(QStringLiteral("Odstęp pomiędzy"), group, 290, 16);
    MargMO = pictogramBox(Pictograms::labelsOneAboveTheOther(), 0, 20, group, 290, 34);
    MargMI = pictogramBox(Pictograms::labelsSideBySide(), 0, 20, group, 290, 66);
}

void TNal2::buildPrintoutsGroup()
{
    auto* group = new QGroupBox(QStringLiteral(" Wydruki "), this);
    group->setGeometry(456, 144, 129, 106);
    BezWysw = checkBox(QStringLiteral("Bez podglądu"), group, 10, 20);
    BezNazBib = checkBox(QStringLiteral("Bez &nazwy i logo"), group, 10, 40);
    BezSygn = checkBox(QStringLiteral("&Bez sygnatury"), group, 10, 60);
    BezRamki = checkBox(QStringLiteral("Bez &ramki"), group, 10, 80);
}

void TNal2::buildBufferRow()
{
    label(QStringLiteral("Bufor naklejek:"), this, 6, 263, 74);
    BufPath = new QLineEdit(this);
    BufPath->setGeometry(82, 259, 342, 21);
    PrzegBuf = button(QStringLiteral("..."), this, {425, 259, 25, 21});
    chbKodowanie = checkBox(QStringLiteral("Kodowanie UTF-8"), this, 467, 261, 118);
    label(QStringLiteral("Konfiguracja: "), this, 16, 286, 72);
    Label6 = label(QString(), this, 88, 286, 496);
}

void TNal2::buildCommandButtons()
{
    Button3 = button(QStringLiteral("&Wybierz drukarkę"), this, {414, 440, 170, 26});
    Button1 = button(QStringLiteral("Drukuj stronę wzorcową"), this, {414, 471, 170, 26});
    Button4 = button(QStringLiteral("&Anuluj"), this, {414, 502, 84, 26});
    Button2 = button(QStringLiteral("&Ustaw"), this, {504, 502, 80, 26});
    // Return presses the focused push button (each is a dialog's auto-default button, which
    // becomes the default while it has the focus) and "&Ustaw" when no push button has it.
    Button2->setDefault(true);
}

// The command buttons keep their distance to the bottom-right corner.
void TNal2::placeCommandButtons()
{
    const int shift = height() - kDesignHeight;
    Button3->move(414, 440 + shift);
    Button1->move(414, 471 + shift);
    Button4->move(414, 502 + shift);
    Button2->move(504, 502 + shift);
}

void TNal2::fillControls()
{
    Creating = true;
    m_labels.logoSwitchedOff = [this] { logoSwitchedOff(); };
    const Settings& s = m_labels.settings;
    const std::pair<SpinEdit*, int> boxes[] = {
        {MargG, s.MargGI},       {MargL, s.MargLI},      {MargMO, s.MargMOI},
        {MargMI, s.MargMII},     {WysNalep, s.WysNalI},  {SzerKK, s.SzerKKI},
        {SzerNalep, s.SzerNalI}, {IloscKolumn, s.IlKol}, {IloscNalKol, s.IlWie}};
    for (const auto& [box, value] : boxes)
        box->setClampedValue(value);
    WzIdent->setText(s.WzorIdS);
    LPath->setText(s.Path);
    const std::pair<QCheckBox*, bool> checks[] = {{BezWysw, s.BezWyswB},
                                                  {BezRamki, s.BezRamkiB},
                                                  {BezNazBib, s.BezNazwyB},
                                                  {BezSygn, s.BezSygnB},
                                                  {ZLogo, s.ZLogoB}};
    for (const auto& [box, checked] : checks)
        box->setChecked(checked);
    BufPath->setText(m_labels.paths.NazwaPliku);
    TMP = {m_labels.settings, m_labels.paths.FilePath, m_labels.paths.NazwaPliku};
    chbKodowanie->setChecked(m_labels.settings.UTF8Encoding);
    Creating = false;
}
