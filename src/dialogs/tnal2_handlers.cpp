// The settings dialog's handlers: live edits, enabling rules and the choices of logo, fonts and
// buffer file.
#include "dialogs/labelfontchoice.h"
#include "dialogs/spinedit.h"
#include "dialogs/tnal2.h"
#include "labels/texts.h"
#include "platform/apperror.h"
#include "platform/desktop/dialogs.h"
#include "window/tnal1.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void TNal2::connectHandlers()
{
    const ErrorGuard& guard = m_main.guard();
    // The page-grid boxes write through at once; they do not change one label.
    const std::pair<SpinEdit*, int Settings::*> gridBoxes[] = {
        {MargG, &Settings::MargGI},      {MargL, &Settings::MargLI},
        {MargMO, &Settings::MargMOI},    {MargMI, &Settings::MargMII},
        {IloscKolumn, &Settings::IlKol}, {IloscNalKol, &Settings::IlWie}};
    for (const auto& [box, field] : gridBoxes)
        connect(box, &SpinEdit::changed, this, guard.wrap([this, box = box, field = field] {
            m_labels.settings.*field = box->currentValue();
        }));
    connect(SzerNalep, &SpinEdit::changed, this, guard.wrap([this] { SzerNalepChange(); }));
    connect(WysNalep, &SpinEdit::changed, this, guard.wrap([this] { WysNalepChange(); }));
    connect(SzerKK, &SpinEdit::changed, this, guard.wrap([this] { SzerKKChange(); }));

    connect(BezWysw, &QCheckBox::toggled, this,
            guard.wrap([this] { m_labels.settings.BezWyswB = BezWysw->isChecked(); }));
    connect(BezRamki, &QCheckBox::toggled, this, guard.wrap([this] { refreshUnlessCreating(); }));
    connect(WzIdent, &QLineEdit::textChanged, this,
            guard.wrap([this] { refreshUnlessCreating(); }));
    connect(BezSygn, &QCheckBox::toggled, this, guard.wrap([this] { BezSygnClick(); }));
    connect(BezNazBib, &QCheckBox::toggled, this, guard.wrap([this] { BezNazBibClick(); }));
    connect(ZLogo, &QCheckBox::toggled, this, guard.wrap([this] { ZLogoClick(); }));

    connect(PrzegBmp, &QPushButton::clicked, this, guard.wrap([this] { PrzegBmpClick(); }));
    connect(NazwaBibBut, &QPushButton::clicked, this,
            guard.wrap([this] { chooseFont(m_labels.settings.NFont); }));
    connect(SygnatBut, &QPushButton::clicked, this,
            guard.wrap([this] { chooseFont(m_labels.settings.SFont); }));
    connect(IdentBut, &QPushButton::clicked, this,
            guard.wrap([this] { chooseFont(m_labels.settings.IFont); }));
    connect(PrzegBuf, &QPushButton::clicked, this, guard.wrap([this] { PrzegBufClick(); }));
    connect(Button3, &QPushButton::clicked, this,
            guard.wrap([this] { m_labels.UstawDrukButClick(); }));
    connect(Button1, &QPushButton::clicked, this, guard.wrap([this] { Button1Click(); }));
    connect(Button4, &QPushButton::clicked, this, guard.wrap([this] { Button4Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard.wrap([this] { Button2Click(); }));
}

void TNal2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_main.guard().run([this] { FormActivate(); });
}

void TNal2::FormActivate()
{
    Zapisane = false;
    Zamykane = false;
    if (BezNazBib->isChecked()) {
        ZLogo->setEnabled(false);
        NazwaBibBut->setEnabled(false);
        LPath->setEnabled(false);
    }
    if (BezSygn->isChecked())
        SygnatBut->setEnabled(false);
    LPath->setEnabled(!(ZLogo->isChecked() && BezNazBib->isChecked()));
    Label6->setText(m_labels.paths.settingsFile());
    PodgladNal();
}

void TNal2::refreshUnlessCreating()
{
    if (!Creating)
        PodgladNal();
}

void TNal2::BezSygnClick()
{
    SygnatBut->setEnabled(!BezSygn->isChecked());
    refreshUnlessCreating();
}

void TNal2::BezNazBibClick()
{
    const bool withoutName = BezNazBib->isChecked();
    ZLogo->setEnabled(!withoutName);
    NazwaBibBut->setEnabled(!withoutName);
    LPath->setEnabled(!withoutName && ZLogo->isChecked());
    refreshUnlessCreating();
}

void TNal2::ZLogoClick()
{
    if (LPath->text().isEmpty() && ZLogo->isChecked()) {
        ZLogo->setChecked(false); // runs this handler again, unticked
        m_dialogs.message({QStringLiteral("Wybierz najpierw obrazek!"), Texts::messageCaption(),
                           MessageButtons::Ok, MessageIcon::Exclamation});
    }
    LPath->setEnabled(!(ZLogo->isChecked() && BezNazBib->isChecked()));
    refreshUnlessCreating();
}

// The missing-logo report switches the logo off; the box follows without a new refresh.
void TNal2::logoSwitchedOff()
{
    const bool wasCreating = Creating;
    Creating = true;
    ZLogo->setChecked(false);
    Creating = wasCreating;
}

void TNal2::PrzegBmpClick()
{
    const std::optional<QString> chosen = m_dialogs.openPicture(LPath->text());
    // The picture dialog may have changed the current folder: it goes back to the program's.
    if (!QDir::setCurrent(m_labels.paths.CurrentPath))
        throw AppError(QStringLiteral("Nie można przejść do katalogu programu %1")
                           .arg(m_labels.paths.CurrentPath));
    if (chosen)
        LPath->setText(QFileInfo(*chosen).absoluteFilePath());
    PodgladNal();
}

void TNal2::chooseFont(LabelFont& font)
{
    const QFont opened = drawnFace(font);
    if (const std::optional<QFont> chosen = m_dialogs.chooseFont(opened))
        takeChosenFont(font, opened, *chosen);
    PodgladNal();
}

void TNal2::PrzegBufClick()
{
    const QFileInfo current(BufPath->text());
    const std::optional<QString> chosen =
        m_dialogs.openFile(current.fileName(), current.path() + QLatin1Char('/'));
    if (chosen)
        BufPath->setText(QFileInfo(*chosen).absoluteFilePath());
}
