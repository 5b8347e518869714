#include "labels/runnotice.h"
#include "labels/texts.h"
#include "printingfixture.h"

namespace {

struct CountCase {
    qsizetype count;
    const char* text;
};

class LabelCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(LabelCount, TakesThePolishPluralForm)
{
    EXPECT_EQ(labelCount(GetParam().count), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, LabelCount,
    ::testing::Values(CountCase{1, "1 naklejkę"}, CountCase{2, "2 naklejki"},
                      CountCase{4, "4 naklejki"}, CountCase{5, "5 naklejek"},
                      CountCase{12, "12 naklejek"}, CountCase{14, "14 naklejek"},
                      CountCase{21, "21 naklejek"}, CountCase{22, "22 naklejki"},
                      CountCase{24, "24 naklejki"}, CountCase{112, "112 naklejek"},
                      CountCase{123, "123 naklejki"}),
    [](const auto& info) { return "n" + std::to_string(info.param.count); });

// The notice at the end of a print run that nobody may have watched.
class RunNotices : public PrintingFixture {
protected:
    void SetUp() override
    {
        PrintingFixture::SetUp();
        start(&backend);
        labels->runEnded = [this](const RunNotice& notice) { notices << notice; };
    }

    void startWith(const QString& printer)
    {
        backend.installed = {{printer, 300, -1}};
        start(&backend);
        labels->runEnded = [this](const RunNotice& notice) { notices << notice; };
    }

    RecordingPrinterBackend backend;
    QList<RunNotice> notices;
};

TEST_F(RunNotices, ARunWithoutPreviewSaysHowManyLabelsWentToWhichPrinter)
{
    labels->settings.BezWyswB = true;
    compose(50);
    printQueue();
    EXPECT_EQ(notices,
              (QList<RunNotice>{
                  {QStringLiteral("Wydrukowano 48 naklejek na drukarce Etykiety."), false}}));
}

TEST_F(RunNotices, ARunThatAsksNothingSaysItToo)
{
    labels->askNothing = true;
    compose(22);
    printQueue();
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(notices,
              (QList<RunNotice>{
                  {QStringLiteral("Wydrukowano 22 naklejki na drukarce Etykiety."), false}}));
}

TEST_F(RunNotices, ARunWhoseQuestionsWereAnsweredNeedsNone)
{
    compose(5);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    EXPECT_TRUE(notices.isEmpty());
}

// The file printer's sheets land in a folder the user may not know: every run names it, one
// that asked its questions too.
TEST_F(RunNotices, TheFilePrinterNamesItsFolder)
{
    startWith(QStringLiteral("Plik PDF"));
    compose(1);
    dialogs.answer(MessageAnswer::No);
    printQueue();
    ASSERT_EQ(backend.ended().size(), 1);
    EXPECT_EQ(notices, (QList<RunNotice>{{"Zapisano 1 naklejkę w folderze " +
                                              labels->paths.FilePath + "wydruki/.",
                                          false}}));
}

TEST_F(RunNotices, AFailedRunSaysWhyBesideTheMessage)
{
    backend.failStart = true;
    labels->settings.BezWyswB = true;
    compose(24);
    printQueue();
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(notices,
              (QList<RunNotice>{{QStringLiteral("Błąd wydruku: Brak domyślnej drukarki"), true}}));
}

TEST_F(RunNotices, ARunThatFailsHalfWaySaysWhatWasPrintedAndWhy)
{
    labels->settings.BezWyswB = true;
    compose(48);
    backend.failFrom = 2; // the printer goes away before the second sheet
    printQueue();
    ASSERT_EQ(backend.ended().size(), 1);
    EXPECT_EQ(notices, (QList<RunNotice>{{QStringLiteral("Wydrukowano 24 naklejki na drukarce "
                                                         "Etykiety. Błąd wydruku: Brak domyślnej "
                                                         "drukarki"),
                                          true}}));
}

// A test page uses a sheet of labels without a question: it is told like a run that asks nothing.
TEST_F(RunNotices, ATestPageIsTold)
{
    labels->printTestPage();
    startWith(QStringLiteral("Plik PDF"));
    labels->printTestPage();
    EXPECT_EQ(notices,
              (QList<RunNotice>{
                  {QStringLiteral("Wydrukowano stronę wzorcową na drukarce Etykiety."), false},
                  {"Zapisano stronę wzorcową w folderze " + labels->paths.FilePath + "wydruki/.",
                   false}}));
}

} // namespace
