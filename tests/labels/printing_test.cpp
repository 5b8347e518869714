#include "fulldisk.h"
#include "labels/printjournal.h"
#include "labels/queuefile.h"
#include "labels/texts.h"
#include "platform/printing/devmode.h"
#include "printingfixture.h"

#include <QFile>

namespace {

Message question(const char* text)
{
    return {QString::fromUtf8(text), Texts::messageCaption(), MessageButtons::YesNo,
            MessageIcon::Question};
}

Message error(const QString& text)
{
    return {text, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error};
}

const Message repeatQuestion = question("Czy powtórzyć wydruk?");
const Message nextQuestion = question("Czy drukować następną stronę?");
const Message noPrinter = error(QStringLiteral("Brak domyślnej drukarki"));

class Printing : public PrintingFixture {
protected:
    void SetUp() override
    {
        PrintingFixture::SetUp();
        start(&backend);
    }

    // The call numbers printed on each document that reached the printer.
    QList<QStringList> sentSheets() const
    {
        QList<QStringList> sheets;
        for (const RecordedDocument& document : backend.ended()) {
            QStringList callNumbers;
            for (const QString& text : document.texts())
                if (text.startsWith(QLatin1String("II ")))
                    callNumbers << text;
            sheets << callNumbers;
        }
        return sheets;
    }

    static QStringList callNumbers(int from, int to)
    {
        QStringList list;
        for (int i = from; i <= to; ++i)
            list << QStringLiteral("II %1").arg(i);
        return list;
    }

    QString firstQueued() const { return labels->queue.ListaLini.value(0); }

    QStringList savedQueue() const { return waitingFrom(0); }

    // What a copy started after a kill at this moment would find waiting: the saved queue
    // without the lines of the sheets that the journal says a printer has.
    QStringList waitingAfterKill() const
    {
        qint64 front = 0;
        if (const auto journal = PrintJournal::read(labels->paths.FilePath + "zelk.nal.druk"))
            for (const SheetRecord& sheet : journal->sheets)
                if (sheet.state != SheetRecord::State::Sent)
                    front = qMax(front, sheet.to);
        return waitingFrom(front);
    }

    QStringList waitingFrom(qint64 offset) const
    {
        QFile saved(labels->paths.FilePath + QStringLiteral("zelk.nal"));
        EXPECT_TRUE(saved.open(QIODevice::ReadOnly));
        return QueueFile::parse(saved.readAll().mid(offset), true);
    }

    RecordingPrinterBackend backend;
};

TEST_F(Printing, FiveLabelsMakeOneSheetAndEmptyTheQueue)
{
    compose(5);
    dialogs.answer(MessageAnswer::No);
    printQueue();

    EXPECT_EQ(sentSheets(), QList<QStringList>{callNumbers(0, 4)});
    ASSERT_EQ(backend.documents.size(), 1u);
    EXPECT_EQ(backend.documents[0].title, QStringLiteral("ZELK - Kody kreskowe"));
    EXPECT_EQ(backend.fileFolder, labels->paths.FilePath + QStringLiteral("wydruki/"));
    EXPECT_EQ(dialogs.shown(), QList<Message>{repeatQuestion});
    EXPECT_TRUE(labels->queue.ListaLini.isEmpty());
    EXPECT_TRUE(labels->queue.ListaNal.isEmpty());
}

TEST_F(Printing, ThirtyLabelsPrintOneFullSheetAndKeepTheRest)
{
    compose(30);
    dialogs.answer(MessageAnswer::No);
    printQueue();

    EXPECT_EQ(sentSheets(), QList<QStringList>{callNumbers(0, 23)});
    EXPECT_EQ(dialogs.shown(), QList<Message>{repeatQuestion});
    EXPECT_EQ(labels->queue.ListaLini.size(), 6);
    EXPECT_EQ(labels->queue.ListaNal.size(), 6);
    EXPECT_EQ(firstQueued(), identifier(24) + "|II 24");
}

TEST_F(Printing, DecliningTheNextSheetPrintsOne)
{
    compose(48);
    dialogs.answer(MessageAnswer::No);
    dialogs.answer(MessageAnswer::No);
    printQueue();

    EXPECT_EQ(sentSheets(), QList<QStringList>{callNumbers(0, 23)});
    EXPECT_EQ(dialogs.shown(), (QList<Message>{nextQuestion, repeatQuestion}));
    EXPECT_EQ(labels->queue.ListaLini.size(), 24);
}

TEST_F(Printing, RepeatingPrintsTheSameSheetsAgain)
{
    compose(48);
    for (auto answer :
         {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No})
        dialogs.answer(answer);
    printQueue();

    const QList<QStringList> twoSheets{callNumbers(0, 23), callNumbers(24, 47)};
    EXPECT_EQ(sentSheets(), twoSheets + twoSheets);
    QList<int> sheetNumbers;
    for (const RecordedDocument& document : backend.documents)
        sheetNumbers << document.sheet;
    EXPECT_EQ(sheetNumbers, (QList<int>{1, 2, 1, 2}));
    EXPECT_EQ(dialogs.shown(),
              (QList<Message>{nextQuestion, repeatQuestion, nextQuestion, repeatQuestion}));
    EXPECT_TRUE(labels->queue.ListaLini.isEmpty());
}

TEST_F(Printing, WithoutPreviewEveryFullSheetGoesOutUnasked)
{
    labels->settings.BezWyswB = true;
    compose(50);
    printQueue();

    EXPECT_EQ(sentSheets(), (QList<QStringList>{callNumbers(0, 23), callNumbers(24, 47)}));
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(firstQueued(), identifier(48) + "|II 48");
}

// Nobody is there to mend one label: it leaves the queue for the set-aside file once, and the
// rest prints.
TEST_F(Printing, WithoutPreviewALabelThatCannotPrintIsSetAside)
{
    labels->settings.BezWyswB = true;
    QStringList lines = labelLines(25);
    lines[3] = QStringLiteral("12x4|II 3"); // its barcode cannot be drawn
    labels->queue.ListaLini += lines;
    labels->queueChanged();
    compose(0);
    printQueue();

    EXPECT_EQ(sentSheets(), QList<QStringList>{callNumbers(0, 2) + callNumbers(4, 24)});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(u"„12x4|II 3”: Range check error"));
    QFile setAside(labels->paths.FilePath + "zelk.nal.odrzucone");
    ASSERT_TRUE(setAside.open(QIODevice::ReadOnly));
    EXPECT_EQ(setAside.readAll(), "12x4|II 3\r\n");
    EXPECT_TRUE(savedQueue().isEmpty());
}

// Paper is held to the preview's checks: bars with no height left (every label's) stop a run that
// asks nothing before it prints, said once, the labels queued; a text's fit is the font's design,
// whatever the resolution (the name takes 59.3 of the 59.45 mm of label on paper).
TEST_F(Printing, PaperIsHeldToThePreviewsChecksAtEveryResolution)
{
    for (const int dpi : {300, 400, 600, 1200}) {
        backend.installed = {{QStringLiteral("Etykiety"), dpi, -1}};
        backend.documents.clear();
        dialogs.clear();
        start(&backend);
        labels->settings.NazBib1 = QStringLiteral("Biblioteka Publiczna");
        labels->settings.NazBib2 = QStringLiteral("w Zelkowie");
        labels->askNothing = true;
        compose(24);
        printQueue();
        labels->settings.WysNalI = 15;
        compose(24);
        printQueue();
        EXPECT_EQ(backend.ended().size(), 1u) << dpi << " dpi";
        EXPECT_EQ(dialogs.shown().size(), 1);
        EXPECT_EQ(dialogs.shown().value(0).text,
                  QStringLiteral("Kod kreskowy jest zbyt niski - zmniejsz wielkość napisów"));
        EXPECT_EQ(labels->queue.ListaLini.size(), 24);
        labels->clearQueue();
    }
}

TEST_F(Printing, AFitErrorAbortsTheSheetAndKeepsItsLabels)
{
    compose(24);
    labels->queue.ListaNal[6].Numer = QString(400, u'9');
    dialogs.answer(MessageAnswer::No);
    printQueue();

    ASSERT_EQ(backend.documents.size(), 1u);
    EXPECT_EQ(backend.documents[0].state, RecordedDocument::Aborted);
    // (The preview drawn afterwards reports the same label in its own words.)
    EXPECT_EQ(dialogs.shown().mid(0, 2),
              (QList<Message>{error(QStringLiteral("Identyfikator nie mieści się na wydruku - "
                                                   "zmniejsz wielkość czcionki")),
                              repeatQuestion}));
    // Nothing reached the printer, so every label stays queued.
    EXPECT_EQ(labels->queue.ListaLini.size(), 24);
    EXPECT_EQ(labels->queue.ListaNal.size(), 24);
}

TEST_F(Printing, OnlyTheSheetsThatWereSentLeaveTheQueue)
{
    compose(48);
    dialogs.whileAsked = [this](const Message& asked) {
        if (asked == nextQuestion)
            backend.failStart = true; // the printer goes away before the second sheet
    };
    dialogs.answer(MessageAnswer::Yes);
    dialogs.answer(MessageAnswer::No);
    printQueue();

    EXPECT_EQ(sentSheets(), QList<QStringList>{callNumbers(0, 23)});
    EXPECT_EQ(dialogs.shown(), (QList<Message>{nextQuestion, noPrinter, repeatQuestion}));
    EXPECT_EQ(labels->queue.ListaLini.size(), 24);
    EXPECT_EQ(firstQueued(), identifier(24) + "|II 24");
}

// What a kill at each question would leave: exactly the labels that no printer has accepted
// wait, while the run still holds every record for a repetition. The journal is compacted at
// the run's end.
TEST_F(Printing, EachSentSheetIsJournalledAtOnce)
{
    compose(48);
    labels->queueChanged();
    const QStringList all = labels->queue.ListaLini;
    QList<QStringList> savedAtEachQuestion;
    dialogs.whileAsked = [&](const Message&) {
        savedAtEachQuestion << waitingAfterKill();
        EXPECT_EQ(labels->queue.ListaNal.size(), 24); // one sheet is composed at a time
    };
    for (auto answer :
         {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No})
        dialogs.answer(answer);
    printQueue();

    EXPECT_EQ(savedAtEachQuestion, (QList<QStringList>{all.mid(24), {}, {}, {}}))
        << "after the first sheet, after both, and during the repetition of both";
    EXPECT_EQ(sentSheets().size(), 4);
    EXPECT_TRUE(labels->queue.ListaLini.isEmpty());
    EXPECT_TRUE(savedQueue().isEmpty());
    EXPECT_FALSE(QFile::exists(labels->paths.FilePath + "zelk.nal.druk"));
}

TEST_F(Printing, ASheetTheJournalCannotRecordIsNotPrinted)
{
    labels->settings.BezWyswB = true;
    compose(48);
    labels->queueChanged();
    {
        const FullDisk full(100); // the journal's record of the first sheet no longer fits
        labels->guard().run([this] { printQueue(); });
    }
    EXPECT_TRUE(sentSheets().isEmpty());
    ASSERT_EQ(backend.documents.size(), 1u);
    EXPECT_EQ(backend.documents[0].state, RecordedDocument::Aborted);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith("Nie można dopisać do pliku " +
                                                   labels->paths.FilePath + "zelk.nal.druk"))
        << qPrintable(dialogs.shown()[0].text);
    EXPECT_EQ(labels->queue.ListaLini.size(), 48);
    EXPECT_EQ(savedQueue().size(), 48);
}

TEST_F(Printing, WithoutAPrinterNothingIsPrintedOrTakenOff)
{
    start(nullptr);
    compose(5);
    dialogs.answer(MessageAnswer::No);
    printQueue();

    EXPECT_EQ(dialogs.shown(), (QList<Message>{noPrinter, repeatQuestion}));
    EXPECT_EQ(labels->queue.ListaLini.size(), 5);
}

TEST_F(Printing, APrinterThatCannotStartIsReportedAsMissing)
{
    backend.failStart = true;
    labels->settings.BezWyswB = true;
    compose(24);
    printQueue();

    EXPECT_EQ(dialogs.shown(), QList<Message>{noPrinter});
    EXPECT_EQ(labels->queue.ListaLini.size(), 24);
}

// The bars of the first label, fitted to whole dots of a printer of each resolution.
struct FitCase {
    int dpi;
    int labelWidth; // ppiSzerN
    int modul;
    int shift; // of the symbol against the barcode box
};

class BarFitting : public PrintingFixture, public ::testing::WithParamInterface<FitCase> {};

TEST_P(BarFitting, BarsLandOnWholePrinterDots)
{
    const FitCase fit = GetParam();
    RecordingPrinterBackend backend({{QStringLiteral("Etykiety"), fit.dpi}});
    start(&backend);
    compose(1);
    const TNalepka label = labels->queue.ListaNal[0];
    dialogs.answer(MessageAnswer::No);
    labels->DrukujStrone(0, false);

    ASSERT_EQ(backend.ended().size(), 1);
    const double korppi = fit.dpi / 100.0;
    const QList<DrawCall> rects = backend.ended()[0].rects();
    ASSERT_FALSE(rects.isEmpty());
    EXPECT_EQ(rects[0].rect.width(), fit.labelWidth); // the frame comes first

    QList<QRectF> bars;
    for (const DrawCall& call : rects)
        if (call.brush == QColor(Qt::black) &&
            call.rect.height() == std::nearbyint(label.BarH * korppi))
            bars << call.rect;
    ASSERT_EQ(bars.size(), 2 + 2 + 6 * 5); // start, stop and five bars for each pair of digits
    EXPECT_EQ(bars[0].left(), std::nearbyint(label.BarL * korppi) + fit.shift);
    EXPECT_EQ(bars[0].top(), std::nearbyint(label.BarT * korppi));
    EXPECT_EQ(bars[0].width(), fit.modul);
    EXPECT_EQ(labels->KodKresk.Modul(), 2);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, BarFitting,
                         ::testing::Values(FitCase{300, 702, 5, -16}, FitCase{600, 1404, 9, 26}),
                         [](const ::testing::TestParamInfo<FitCase>& info) {
                             return "Dpi" + std::to_string(info.param.dpi);
                         });

} // namespace
