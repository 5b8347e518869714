#include "mainwindowfixture.h"
#include "window/historywindow.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class HistoryFromTheTray : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        window->labels().settings.BezWyswB = true;
    }

    QStringList row(int index) const
    {
        const QTreeWidgetItem* item = window->historyWindow->sheetList->topLevelItem(index);
        return {item->text(0), item->text(2), item->text(3), item->text(4), item->text(5)};
    }
};

TEST_F(HistoryFromTheTray, ListsTheSheetsAndPrintsTheSelectedOnesAgain)
{
    queueLines(50);
    window->Drukujstron1Click();
    const QStringList waiting = window->labels().queue.ListaLini;
    window->historyClick();
    HistoryWindow& history = *window->historyWindow;

    ASSERT_EQ(history.sheetList->topLevelItemCount(), 2);
    const QString printer = window->labels().printerInUse();
    EXPECT_EQ(row(0), (QStringList{"2", printer, "24", identifier(24), identifier(47)}));
    EXPECT_EQ(history.labelList->count(), 24) << "the newest sheet is selected";

    history.sheetList->selectAll();
    EXPECT_EQ(history.labelList->count(), 48);
    notifier.shown.clear();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&history));
    ASSERT_EQ(QApplication::focusWidget(), history.sheetList);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    EXPECT_EQ(printers.ended().size(), 4);
    EXPECT_EQ(window->labels().queue.ListaLini, waiting);
    EXPECT_EQ(notifier.shown.size(), 1);
    ASSERT_EQ(history.sheetList->topLevelItemCount(), 4);
    EXPECT_TRUE(history.sheetList->topLevelItem(0)->text(1).endsWith("(powtórzenie)"));
    EXPECT_EQ(row(1), (QStringList{"3", printer, "24", identifier(0), identifier(23)}))
        << "the older sheet first, as it was selected; the numbers of the others stay";
    EXPECT_EQ(row(2).first(), "2");
}

} // namespace
