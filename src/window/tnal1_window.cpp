// The window's handlers: the polling tick, showing and hiding, the tray menu and closing.
#include "window/tnal1.h"

#include "labels/texts.h"

#include "window/pageimage.h"
#include <cstdio>
#include <QScopedValueRollback>
#include <QScrollArea>

void TNal1::FormShow()
{
    ParametryNalepki();
    m_labels.RysujNal(false);
    PokazStrone();
}

// The timer runs while the window is hidden: showing a sheet stops it, so the queue does not
// change under the user's eyes, and hiding the window starts it again. A tick takes the buffer
// also while a box or a print run's question is open; a failure of either half of the tick ends
// only that half, and its report waits for nobody.
void TNal1::Timer1Timer()
{
    const TickReports::Tick tick(m_reports);
    const qsizetype earlierCount = m_labels.queue.ListaLini.size();
    guard().run([this] { m_labels.takeBuffer(); });
    if (m_labels.printRunInProgress)
        return; // this tick must not print a second time inside the run
    if (state.HideForm && m_labels.queue.ListaLini.size() != earlierCount)
        state.HideForm = false;
    guard().run([this] { showOrPrintFullSheet(); });
}

void TNal1::showOrPrintFullSheet()
{
    if (m_labels.queue.ListaLini.size() < m_labels.freePlaces() || state.HideForm) {
        hide();
        return;
    }
    if (m_labels.settings.BezWyswB) {
        // The timer keeps running: its ticks take the buffer while the run is on.
        hide();
        printPageWithoutQuestions();
        return;
    }
    Timer1.stop();
    if (m_labels.queue.ListaNal.size() <= 1)
        hide(); // so that showing runs FormShow afresh
    show();
    raise();
    activateWindow();
}

void TNal1::DrukujButClick()
{
    if (!m_labels.queue.ListaNal.isEmpty())
        m_labels.DrukujStrone(static_cast<int>(m_labels.queue.ListaLini.size()) - 1, false);
    else
        printTestPage();
}

void TNal1::Drukujstron1Click()
{
    if (!isVisible()) {
        ParametryNalepki();
        m_labels.RysujNal(false);
    }
    DrukujButClick();
}

void TNal1::printPageWithoutQuestions()
{
    const QScopedValueRollback quiet(m_labels.askNothing, true);
    try {
        Drukujstron1Click();
    } catch (const AppError& error) {
        m_labels.tellRunFailed(error.text());
        throw; // for the guard's report
    }
}

void TNal1::showRunNotice(const RunNotice& notice)
{
    if (notice.failed && notice.text == m_lastFailureNotice)
        return;
    m_lastFailureNotice = notice.failed ? notice.text : QString();
    m_notifier->notify(notice.text, notice.failed);
}

void TNal1::Pokastron1Click()
{
    if (isVisible())
        return;
    Timer1.stop();
    show();
}

void TNal1::TrayIcon1DblClick()
{
    Pokastron1Click();
}

void TNal1::UstawParButClick()
{
    emit settingsRequested();
}

void TNal1::RezygnujButClick()
{
    if (m_labels.settings.ZLogoB)
        m_labels.Logo = QImage();
    KasujObiekty();
    m_labels.KasujListeNalepek();
    state.HideForm = true;
    Timer1.start();
    hide();
}

void TNal1::Usunnal1Click()
{
    m_labels.clearQueue();
    if (isVisible())
        RezygnujButClick();
}

void TNal1::OProgramieClick()
{
    emit aboutRequested();
}

void TNal1::Zamknijprogram1Click()
{
    close();
}

void TNal1::KasujObiekty()
{
    if (!Image)
        return;
    Image->hide();
    ScrollBox1->takeWidget();
    delete Image;
    Image = nullptr;
    pageBitmap = QImage();
    update();
}

bool TNal1::FormClose()
{
    if (state.zamknij)
        return true;
    const MessageAnswer answer = m_labels.dialogs().message(
        {QStringLiteral("Zamknięcie programu uniemożliwi drukowanie kodów!\r\n"
                        "Czy chcesz zamknąć program?"),
         Texts::messageCaption(), MessageButtons::YesNo, MessageIcon::Question});
    return answer == MessageAnswer::Yes && saveBeforeClosing();
}

bool TNal1::saveBeforeClosing()
{
    return guard().run([this] { m_labels.SaveNal(); });
}

bool TNal1::CanCloseComp()
{
    if (!saveBeforeClosing())
        return false;
    state.zamknij = true;
    return true;
}

void TNal1::CloseNow()
{
    try {
        m_labels.SaveNal();
    } catch (const std::exception& error) {
        std::fprintf(stderr,
                     "zelk_nal: %s\nzelk_nal: Naklejki z kolejki pozostają w pliku zelk.nal "
                     "(w stanie z ostatniego udanego zapisu) albo w pliku bufora.\n",
                     error.what());
    }
    state.zamknij = true;
    // While the close question is open Qt takes the window for closing already and ignores a
    // second close; the program ends all the same.
    if (m_decidingToClose)
        emit closed();
    else
        close();
}
