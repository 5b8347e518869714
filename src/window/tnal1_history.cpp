// The history of printed sheets: its window and printing its sheets again.
#include "window/tnal1.h"

#include "window/historywindow.h"

void TNal1::historyClick()
{
    if (!historyWindow)
        historyWindow = new HistoryWindow(
            guard(), [this](const QList<PrintedSheet>& sheets) { reprint(sheets); }, this);
    historyWindow->showSheets(m_labels.printHistory());
    historyWindow->show();
    historyWindow->raise();
    historyWindow->activateWindow();
}

void TNal1::reprint(const QList<PrintedSheet>& sheets)
{
    m_labels.reprint(sheets);
    if (historyWindow && historyWindow->isVisible())
        historyWindow->showSheets(m_labels.printHistory()); // the reprint is a sheet of it now
}
