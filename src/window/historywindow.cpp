#include "window/historywindow.h"

#include "labels/labelline.h"
#include "platform/errorguard.h"
#include "window/appicon.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int shownRows = 15; // the list's height, in sheets

QStringList columns(const PrintedSheet& printed)
{
    const SheetRecord& sheet = printed.sheet;
    QString when = sheet.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (sheet.repeated)
        when += QStringLiteral(" (powtórzenie)");
    return {QString::number(printed.number),
            when,
            sheet.printer,
            QString::number(sheet.labels.size()),
            printed.firstIdentifier(),
            printed.lastIdentifier()};
}

QString labelText(const QString& line)
{
    const LabelLine label = splitLabelLine(line);
    return label.identifier + QStringLiteral("   ") + label.callNumber;
}

} // namespace

HistoryWindow::HistoryWindow(const ErrorGuard& guard, Reprint reprint, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_reprint(std::move(reprint))
{
    setWindowTitle(QStringLiteral("Historia wydruków"));
    setWindowIcon(barcodeIcon());

    sheetList = new QTreeWidget(this);
    sheetList->setHeaderLabels({QStringLiteral("Nr"), QStringLiteral("Data i godzina"),
                                QStringLiteral("Drukarka"), QStringLiteral("Naklejki"),
                                QStringLiteral("Pierwszy identyfikator"),
                                QStringLiteral("Ostatni identyfikator")});
    sheetList->setRootIsDecorated(false);
    sheetList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    sheetList->setAllColumnsShowFocus(true);
    auto* sheetsLabel = new QLabel(QStringLiteral("&Wydrukowane arkusze, od najnowszego:"), this);
    sheetsLabel->setBuddy(sheetList);

    labelList = new QListWidget(this);
    auto* labelsLabel = new QLabel(QStringLiteral("&Naklejki zaznaczonych arkuszy:"), this);
    labelsLabel->setBuddy(labelList);

    reprintButton = new QPushButton(QStringLiteral("&Drukuj ponownie"), this);
    reprintButton->setDefault(true);
    auto* closeButton = new QPushButton(QStringLiteral("&Zamknij"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(reprintButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sheetsLabel);
    layout->addWidget(sheetList, 2);
    layout->addWidget(labelsLabel);
    layout->addWidget(labelList, 1);
    layout->addLayout(buttons);

    connect(sheetList, &QTreeWidget::itemSelectionChanged, this,
            guard.wrap([this] { showSelectedLabels(); }));
    for (auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(key, this), &QShortcut::activated, reprintButton,
                &QPushButton::click);
    connect(reprintButton, &QPushButton::clicked, this,
            guard.wrap([this] { m_reprint(selectedSheets()); }));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

void HistoryWindow::showSheets(const QList<PrintedSheet>& sheets)
{
    m_sheets = sheets;
    sheetList->clear();
    for (const PrintedSheet& printed : sheets)
        sheetList->addTopLevelItem(new QTreeWidgetItem(columns(printed)));
    if (!sheets.isEmpty())
        sheetList->setCurrentItem(sheetList->topLevelItem(0));
    showSelectedLabels();
    fitToList();
    sheetList->setFocus();
}

// In the order they were printed, the oldest first.
QList<PrintedSheet> HistoryWindow::selectedSheets() const
{
    QList<PrintedSheet> selected;
    for (int row = sheetList->topLevelItemCount() - 1; row >= 0; --row)
        if (sheetList->topLevelItem(row)->isSelected())
            selected << m_sheets[row];
    return selected;
}

void HistoryWindow::showSelectedLabels()
{
    const QList<PrintedSheet> selected = selectedSheets();
    labelList->clear();
    for (const PrintedSheet& printed : selected)
        for (const QString& line : printed.sheet.labels)
            labelList->addItem(labelText(line));
    reprintButton->setEnabled(!selected.isEmpty());
}

// Wide enough for every column, high enough for shownRows sheets.
void HistoryWindow::fitToList()
{
    int width = 2 * sheetList->frameWidth() + sheetList->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < sheetList->columnCount(); ++column) {
        sheetList->resizeColumnToContents(column);
        width += sheetList->columnWidth(column);
    }
    const int rowHeight = sheetList->fontMetrics().height() + 4;
    sheetList->setMinimumSize(width, sheetList->header()->sizeHint().height() +
                                         shownRows * rowHeight + 2 * sheetList->frameWidth());
    adjustSize();
}
