// Ending the settings dialog: the commit, the closing question, the discard, and the main
// window's page rebuilt with the settings in force.
#include "dialogs/spinedit.h"
#include "dialogs/tnal2.h"
#include "labels/discovery.h"
#include "labels/settingsfile.h"
#include "labels/texts.h"
#include "platform/desktop/dialogs.h"
#include "window/tnal1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <tuple>

namespace {

bool sameSheet(const Settings& a, const Settings& b)
{
    return std::tie(a.IlKol, a.IlWie, a.SzerNalI, a.WysNalI, a.stock) ==
           std::tie(b.IlKol, b.IlWie, b.SzerNalI, b.WysNalI, b.stock);
}

} // namespace

void TNal2::Button2Click()
{
    if (TMP.NazwaPliku.trimmed() != BufPath->text().trimmed()) {
        const MessageAnswer answer = m_dialogs.message(
            {QStringLiteral("Zmiana bufora naklejek powoduje utratę kodów w buforze bieżącym\r\n"
                            "Czy zmienić bufor?"),
             Texts::messageCaption(), MessageButtons::YesNo, MessageIcon::Exclamation});
        if (answer == MessageAnswer::Yes)
            m_labels.dropQueue();
        else
            BufPath->setText(TMP.NazwaPliku);
    }
    const Settings edited = editedSettings();
    writeSettings(m_labels.paths.settingsFile(), edited, BufPath->text(), edited.UTF8Encoding);
    applyControls(edited);
    // Places counted on a sheet of another grid or label size mean nothing on the new one: the
    // next run starts a fresh sheet.
    if (!sameSheet(edited, TMP.settings))
        m_labels.setFirstFree(1);
    m_labels.savePrinterSettings();
    Zapisane = true;
    if (!Zamykane)
        close();
}

// The settings as the controls hold them; the fonts are in the main window already.
Settings TNal2::editedSettings() const
{
    Settings edited = m_labels.settings;
    edited.MargGI = MargG->currentValue();
    edited.MargLI = MargL->currentValue();
    edited.MargMII = MargMI->currentValue();
    edited.MargMOI = MargMO->currentValue();
    edited.WysNalI = WysNalep->currentValue();
    edited.SzerNalI = SzerNalep->currentValue();
    edited.IlKol = IloscKolumn->currentValue();
    edited.IlWie = IloscNalKol->currentValue();
    edited.WzorIdS = WzIdent->text();
    edited.BezWyswB = BezWysw->isChecked();
    edited.BezRamkiB = BezRamki->isChecked();
    edited.BezNazwyB = BezNazBib->isChecked();
    edited.BezSygnB = BezSygn->isChecked();
    edited.ZLogoB = ZLogo->isChecked();
    edited.Path = LPath->text();
    edited.SzerKKI = SzerKK->currentValue();
    edited.UTF8Encoding = chbKodowanie->isChecked();
    return edited;
}

void TNal2::applyControls(const Settings& edited)
{
    m_labels.settings = edited;
    m_labels.paths.NazwaPliku = BufPath->text();
    m_labels.paths.FilePath = splitPath(BufPath->text()).folder;
}

bool TNal2::FormClose()
{
    if (!Zapisane) {
        const MessageAnswer answer = m_dialogs.message(
            {QStringLiteral("Nowe ustawienia nie zostały zapisane. Zapisać?"),
             Texts::messageCaption(), MessageButtons::YesNo, MessageIcon::Exclamation});
        if (answer == MessageAnswer::Yes) {
            Zamykane = true;
            if (!m_main.guard().run([this] { Button2Click(); })) {
                Zamykane = false;
                return false;
            }
        } else {
            discard();
        }
    }
    ImageNal->hide();
    rebuildMainWindow();
    m_labels.logoSwitchedOff = nullptr;
    return true;
}

// The snapshot back; the printer choice and the encoding are not part of it.
void TNal2::discard()
{
    Settings restored = TMP.settings;
    restored.PrinterName = m_labels.settings.PrinterName;
    restored.UTF8Encoding = m_labels.settings.UTF8Encoding;
    m_labels.settings = restored;
    m_labels.paths.FilePath = TMP.FilePath;
    m_labels.paths.NazwaPliku = TMP.NazwaPliku;
}

void TNal2::rebuildMainWindow()
{
    m_main.KasujObiekty();
    m_main.ParametryNalepki();
    if (m_labels.paths.NazwaPliku.trimmed() != TMP.NazwaPliku.trimmed()) {
        m_main.state.HideForm = true;
        m_main.Timer1.start();
        m_main.hide();
        // The new folder's saved queue, if there is one, joins the (empty) queue rather than
        // being overwritten by the next mirror write; normally the hint reads 0.
        m_labels.OpenNal(QString());
        return;
    }
    m_labels.RysujNal(false);
    m_main.PokazStrone();
}

void TNal2::Button4Click()
{
    close();
}

void TNal2::closeEvent(QCloseEvent* event)
{
    bool closing = false;
    m_main.guard().run([&] { closing = FormClose(); });
    event->setAccepted(closing);
}

void TNal2::reject()
{
    close();
}
