// The history of printed sheets: its window and printing its sheets again.
#include "window/tnal1.h"

#include "platform/apperror.h"
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

void TNal1::reprintFromHistory(int number)
{
    const QList<PrintedSheet> sheets = m_labels.printHistory();
    if (number < 1 || number > sheets.size())
        throw AppError(QStringLiteral("W historii wydruków nie ma arkusza %1.").arg(number));
    reprint({sheets[number - 1]});
}
