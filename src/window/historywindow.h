#pragma once

#include "labels/printhistory.h"

#include <functional>
#include <QWidget>

class ErrorGuard;
class QListWidget;
class QPushButton;
class QTreeWidget;

// "Historia wydruków": the printed sheets, newest first, with their number (as `zelk_nal
// --history` lists it), date and time, printer, number of labels and first and last identifier; the
// labels of the selected sheets below, and "Drukuj ponownie" to print the selected sheets again.
class HistoryWindow : public QWidget {
public:
    using Reprint = std::function<void(const QList<PrintedSheet>&)>;

    HistoryWindow(const ErrorGuard& guard, Reprint reprint, QWidget* parent = nullptr);

    // Shows `sheets` (newest first), the first of them selected.
    void showSheets(const QList<PrintedSheet>& sheets);

    QTreeWidget* sheetList = nullptr;
    QListWidget* labelList = nullptr;
    QPushButton* reprintButton = nullptr;

private:
    QList<PrintedSheet> selectedSheets() const;
    void showSelectedLabels();
    void fitToList();

    QList<PrintedSheet> m_sheets;
    Reprint m_reprint;
};
