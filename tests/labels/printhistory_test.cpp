#include "labels/printhistory.h"
#include "platform/files/fileops.h"
#include "printingfixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

class History : public PrintingFixture {
protected:
    void SetUp() override
    {
        PrintingFixture::SetUp();
        start();
        labels->settings.BezWyswB = true;
    }

    QString file(const char* name) const { return labels->paths.FilePath + name; }

    // The call numbers of each sheet the printer got, from the `from`th on.
    QList<QStringList> sheetsSent(qsizetype from = 0) const
    {
        QList<QStringList> sheets;
        for (const RecordedDocument& document : printers.ended().mid(from)) {
            sheets << QStringList();
            for (const QString& text : document.texts())
                if (text.startsWith(QLatin1String("II ")))
                    sheets.last() << text;
        }
        return sheets;
    }
};

TEST_F(History, KeepsPrintedSheetsAndReprintsOneWithoutTouchingTheQueue)
{
    labels->printTestPage(); // never kept
    compose(50);
    printQueue();
    const QStringList waiting = labels->queue.ListaLini;
    const QByteArray saved = FileOps::read(file("zelk.nal"));

    const QList<PrintedSheet> history = labels->printHistory();
    ASSERT_EQ(history.size(), 2);
    EXPECT_EQ(history[0].sheet.labels, labelLines(48).mid(24)) << "newest first";
    EXPECT_EQ(history[1].sheet.labels, labelLines(24));

    labels->setFirstFree(5);
    labels->reprint({history[0]});

    QStringList second;
    for (const QString& line : history[0].sheet.labels)
        second << line.section(u'|', 1);
    EXPECT_EQ(sheetsSent(3), (QList<QStringList>{second.mid(0, 20), second.mid(20)}))
        << "from the first free place on, over two sheets";
    EXPECT_EQ(labels->settings.PierwszaWolna, 5);
    EXPECT_EQ(labels->queue.ListaLini, waiting);
    EXPECT_EQ(FileOps::read(file("zelk.nal")), saved);
    EXPECT_FALSE(QFile::exists(file("zelk.nal.druk")));
    const QList<PrintedSheet> after = labels->printHistory();
    ASSERT_EQ(after.size(), 4);
    EXPECT_TRUE(after[0].sheet.repeated && after[1].sheet.repeated);
    EXPECT_EQ(after[1].sheet.labels + after[0].sheet.labels, history[0].sheet.labels);
    EXPECT_FALSE(after[2].sheet.repeated);
}

// A kill while the last question is open leaves the journal with the first sheet accepted beside
// the saved-queue file it belongs to (a second name keeps that file): the next start keeps that
// sheet, once, however often it starts.
TEST_F(History, AJournalLeftByAKillJoinsTheHistoryOnce)
{
    labels->settings.BezWyswB = false;
    compose(48);
    const QString folder = labels->paths.FilePath;
    QByteArray journal;
    dialogs.whileAsked = [&](const Message&) {
        journal = FileOps::read(folder + "zelk.nal.druk");
        QFile::remove(folder + "kept");
        ASSERT_EQ(::link(qPrintable(folder + "zelk.nal"), qPrintable(folder + "kept")), 0);
    };
    dialogs.answer(MessageAnswer::No);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    labels.reset();
    QFile::remove(folder + "zelk.nal.historia");
    FileOps::rename(folder + "kept", folder + "zelk.nal");
    FileOps::createNew(folder + "zelk.nal.druk", journal);

    for (int startAgain = 0; startAgain < 2; ++startAgain) {
        start();
        const QList<PrintedSheet> history = labels->printHistory();
        ASSERT_EQ(history.size(), 1);
        EXPECT_EQ(history[0].sheet.labels, labelLines(24));
        EXPECT_EQ(labels->queue.ListaLini, labelLines(48).mid(24));
    }
}

struct JournalCase {
    const char* name;
    int keptAgain;         // the journal is kept again, as after a kill before its removal
    bool cutShort = false; // the first append lost its last bytes, as by a kill
};

class HistoryFile : public ::testing::TestWithParam<JournalCase> {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("zelk.nal.historia");
};

TEST_P(HistoryFile, KeepsEachSheetOnce)
{
    const QDateTime now = QDateTime::currentDateTime();
    PrintJournal::Contents journal{"1:2", "id", {}};
    for (int sequence = 1; sequence <= 3; ++sequence)
        journal.sheets << SheetRecord{
            .sequence = sequence,
            .lines = 2,
            .when = now,
            .labels = {QStringLiteral("1%1|a b,ż").arg(sequence), QString()},
            .state = sequence == 2 ? SheetRecord::State::NotPrinted : SheetRecord::State::Released};
    PrintHistory::keep(path, journal, now);
    if (GetParam().cutShort)
        FileOps::truncate(path, FileOps::size(path) - 5);
    for (int again = 0; again < GetParam().keptAgain; ++again)
        PrintHistory::keep(path, journal, now);

    const QList<PrintedSheet> kept = PrintHistory::read(path);
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(kept[0].sheet.sequence, 1);
    EXPECT_EQ(kept[1].sheet.labels, journal.sheets[2].labels);
}

INSTANTIATE_TEST_SUITE_P(, HistoryFile,
                         ::testing::Values(JournalCase{"Once", 0},
                                           JournalCase{"KeptAgainAfterAKill", 2},
                                           JournalCase{"AppendCutShortByAKill", 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// 2,000 sheets, one every 2.4 hours: the file is written anew now and then, never holds more
// than half again the bound, and offers the last 90 days.
TEST(HistoryBound, StaysBoundedAcross2000Sheets)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("zelk.nal.historia");
    const QDateTime start = QDateTime::currentDateTime().addDays(-200);
    QDateTime now;
    QSet<QString> versions;
    for (int i = 0; i < 2000; ++i) {
        now = start.addSecs(i * 8640);
        const SheetRecord sheet{.sequence = 1, .when = now, .state = SheetRecord::State::Released};
        PrintHistory::keep(path, {"1:2", QString::number(i), {sheet}}, now);
        versions << FileOps::identity(path);
        ASSERT_LE(FileOps::read(path).count('\n'), 1500);
    }
    EXPECT_LT(versions.size(), 10) << "written anew at most every few hundred sheets";
    const QList<PrintedSheet> listed = PrintHistory::listed(PrintHistory::read(path), now);
    EXPECT_EQ(listed.size(), 901);
    EXPECT_EQ(listed.first().journal, "1999");
    EXPECT_EQ(listed.first().number, 2000) << "numbers stay across the rewrites";
}

// Lines of an earlier version have no number: each gets the one after the line before it, and
// keeps it when sheets are added and when the file is written anew without the oldest.
TEST(HistoryNumbers, LinesOfAnEarlierVersionKeepTheNumbersTheyWereListedUnder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("zelk.nal.historia");
    const QDateTime now = QDateTime::currentDateTime();
    for (int age : {130, 2, 1}) // the oldest leaves the history when it is written anew
        FileOps::append(path,
                        "old " + PrintJournal::sheetFields({.when = now.addDays(-age)}) + '\n');
    PrintHistory::keep(path, {"1:2", "new", {{.when = now, .state = SheetRecord::State::Released}}},
                       now);
    QList<int> numbers;
    for (const PrintedSheet& printed : PrintHistory::read(path))
        numbers << printed.number;
    EXPECT_EQ(numbers, (QList<int>{2, 3, 4}));
}

} // namespace
