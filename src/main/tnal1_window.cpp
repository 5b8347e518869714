// The window's handlers: the polling tick, showing and hiding, the tray menu and closing.
#include "main/tnal1.h"

#include "main/texts.h"

#include <cstdio>
#include <QLabel>
#include <QScrollArea>

void TNal1::FormShow()
{
    ParametryNalepki();
    RysujNal(false);
    PokazStrone();
}

// The buffer is taken at every tick, also while a box or a print run's question is open, and a
// failure of either half of the tick ends only that half: polling never stops.
void TNal1::Timer1Timer()
{
    const TickReports::Tick tick(m_reports);
    const qsizetype earlierCount = queue.ListaLini.size();
    m_guard.run([this] { takeBuffer(); });
    if (printRunInProgress)
        return; // this tick must not print a second time inside the run
    if (state.HideForm && queue.ListaLini.size() != earlierCount)
        state.HideForm = false;
    m_guard.run([this] { showOrPrintFullSheet(); });
}

void TNal1::takeBuffer()
{
    if (QueueStore::hasWaitingFiles(queueLocation()) || queueStore.savedQueueUnread())
        OpenNal(paths.NazwaPliku);
}

void TNal1::showOrPrintFullSheet()
{
    if (queue.ListaLini.size() < settings.labelsPerSheet() || state.HideForm) {
        hide();
        return;
    }
    if (settings.BezWyswB) {
        // The timer keeps running: its ticks take the buffer while the run is on.
        hide();
        Drukujstron1Click();
        return;
    }
    Timer1.stop();
    if (queue.ListaNal.size() <= 1)
        hide(); // so that showing runs FormShow afresh
    show();
    raise();
    activateWindow();
}

void TNal1::DrukujButClick()
{
    if (!queue.ListaNal.isEmpty())
        DrukujStrone(static_cast<int>(queue.ListaNal.size()) - 1, false);
    else
        printTestPage();
}

void TNal1::Drukujstron1Click()
{
    if (!isVisible()) {
        ParametryNalepki();
        RysujNal(false);
    }
    DrukujButClick();
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
    if (settings.ZLogoB)
        Logo = QImage();
    KasujObiekty();
    KasujListeNalepek();
    state.HideForm = true;
    Timer1.start();
    hide();
}

void TNal1::Usunnal1Click()
{
    clearQueue();
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
    const MessageAnswer answer = m_services.dialogs->message(
        {QStringLiteral("Zamknięcie programu uniemożliwi drukowanie kodów!\r\n"
                        "Czy chcesz zamknąć program?"),
         Texts::messageCaption(), MessageButtons::YesNo, MessageIcon::Question});
    return answer == MessageAnswer::Yes && saveBeforeClosing();
}

bool TNal1::saveBeforeClosing()
{
    return m_guard.run([this] { SaveNal(); });
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
        SaveNal();
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
