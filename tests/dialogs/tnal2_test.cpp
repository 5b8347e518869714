#include "platform/files/ansicodec.h"
#include "platform/files/profilefile.h"
#include "settingsdialogfixture.h"

#include "window/pageimage.h"
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

TEST_F(SettingsDialog, OpensWithClampedValuesThatTheSnapshotKeeps)
{
    Settings& s = window->labels().settings;
    s.IlKol = 0;
    s.MargMOI = 30;
    s.SzerKKI = 120;
    s.SzerNalI = 120;
    s.WysNalI = 5;
    open();
    EXPECT_EQ(dialog->IloscKolumn->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog->MargMO->text(), QStringLiteral("20"));
    EXPECT_EQ(dialog->SzerNalep->text(), QStringLiteral("99"));
    EXPECT_EQ(dialog->WysNalep->text(), QStringLiteral("10"));
    EXPECT_EQ(s.IlKol, 1);
    EXPECT_EQ(s.MargMOI, 20);
    EXPECT_EQ(s.SzerKKI, 99);
    EXPECT_EQ(s.SzerNalI, 120) << "width and height stay as stored until a commit";
    EXPECT_EQ(s.WysNalI, 5);

    type(dialog->IloscKolumn, QStringLiteral("4"));
    dialogs.answer(MessageAnswer::No);
    dialog->Button4->click();
    EXPECT_EQ(s.IlKol, 1) << "a discard keeps the clamped value";
    EXPECT_EQ(s.SzerNalI, 120);
}

TEST_F(SettingsDialog, LogoWithoutAPathIsRefusedAtOpening)
{
    window->labels().settings.ZLogoB = true;
    open();
    EXPECT_FALSE(dialog->ZLogo->isChecked());
    EXPECT_EQ(dialogs.shown(), QList<Message>{pickPictureFirst});
}

TEST_F(SettingsDialog, StoredLogoOpensTickedAndAMissingOneIsSwitchedOff)
{
    QImage logo(200, 50, QImage::Format_RGB32);
    logo.fill(Qt::black);
    const QString path = programDir() + QStringLiteral("logo.bmp");
    ASSERT_TRUE(logo.save(path));
    window->labels().settings.ZLogoB = true;
    window->labels().settings.Path = path;
    window->labels().settings.SFont.size = window->labels().settings.IFont.size =
        8; // room for the logo
    open();
    EXPECT_TRUE(dialog->ZLogo->isChecked());
    EXPECT_EQ(dialog->LPath->text(), path);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(window->labels().Logo.size(), QSize(200, 50));

    dialog->LPath->setText(programDir() + QStringLiteral("brak.bmp"));
    dialog->BezRamki->setChecked(true); // any refresh loads the logo again
    const Message missing{QStringLiteral("Brak pliku z logo ") + programDir() +
                              QStringLiteral("brak.bmp"),
                          Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error};
    EXPECT_EQ(dialogs.shown(), QList<Message>{missing}) << "reported once, no second refresh";
    EXPECT_FALSE(dialog->ZLogo->isChecked());
    EXPECT_FALSE(window->labels().settings.ZLogoB);
}

TEST_F(SettingsDialog, EnablingFollowsTheLookBoxes)
{
    window->labels().settings.BezNazwyB = true;
    open();
    EXPECT_FALSE(dialog->ZLogo->isEnabled());
    EXPECT_FALSE(dialog->NazwaBibBut->isEnabled());
    EXPECT_TRUE(dialog->LPath->isEnabled()) << "enabled unless both logo and no-name are ticked";

    dialog->BezNazBib->setChecked(false);
    EXPECT_TRUE(dialog->ZLogo->isEnabled());
    EXPECT_FALSE(dialog->LPath->isEnabled());

    dialog->ZLogo->setChecked(true); // no path yet: refused, and the path box is enabled again
    EXPECT_FALSE(dialog->ZLogo->isChecked());
    EXPECT_TRUE(dialog->LPath->isEnabled());
    EXPECT_EQ(dialogs.shown(), QList<Message>{pickPictureFirst});

    dialog->BezSygn->setChecked(true);
    EXPECT_FALSE(dialog->SygnatBut->isEnabled());
    EXPECT_TRUE(dialog->PrzegBmp->isEnabled());
    EXPECT_TRUE(dialog->IdentBut->isEnabled());
}

TEST_F(SettingsDialog, FontDialogChangesFaceSizeAndStyleOnly)
{
    window->labels().settings.SFont.underline = true;
    open();
    dialogs.answerFont(std::nullopt);
    dialog->SygnatBut->click();
    EXPECT_EQ(window->labels().settings.SFont, LabelFont({"Courier", 14, 238, true, false, false}));

    QFont chosen(QStringLiteral("DejaVu Sans"), 9);
    chosen.setBold(true);
    chosen.setUnderline(false);
    dialogs.answerFont(chosen);
    dialog->SygnatBut->click();
    EXPECT_EQ(window->labels().settings.SFont,
              LabelFont({"DejaVu Sans", 9, 238, true, true, false}));
}

TEST_F(SettingsDialog, LabelWidthKeepsTheBarcodeNarrower)
{
    struct Case {
        int barcode;
        int expected;
    };
    for (const Case& c : {Case{70, 55}, Case{58, 58}, Case{59, 55}}) {
        window->labels().settings.SzerKKI = c.barcode;
        open();
        type(dialog->SzerNalep, QStringLiteral("60"));
        EXPECT_EQ(dialog->SzerKK->currentValue(), c.expected) << c.barcode;
        EXPECT_EQ(dialog->SzerKK->maximum(), 58);
        EXPECT_EQ(window->labels().settings.SzerNalI, 60);
        EXPECT_EQ(window->labels().settings.SzerKKI, c.expected);
        dialogs.answer(MessageAnswer::No);
        dialog->close();
    }
}

TEST_F(SettingsDialog, SizeBoxesApplyOnlyWholeAcceptedValues)
{
    window->labels().settings.WysNalI = 11;
    open();
    type(dialog->SzerNalep, QStringLiteral("7")); // first digit of 70: nothing yet
    EXPECT_EQ(window->labels().settings.SzerNalI, 61);
    type(dialog->SzerNalep, QStringLiteral("70"));
    EXPECT_EQ(window->labels().settings.SzerNalI, 70);

    type(dialog->WysNalep, QStringLiteral("10"));
    EXPECT_EQ(window->labels().settings.WysNalI, 11) << "10 mm waits for the commit";

    type(dialog->SzerKK, QStringLiteral("15"));
    EXPECT_EQ(window->labels().settings.SzerKKI, 15) << "out of range reaches the window as typed";
    dialog->SzerKK->setClampedValue(dialog->SzerKK->currentValue());
    EXPECT_EQ(window->labels().settings.SzerKKI, 20);

    dialogs.clear();
    type(dialog->SzerNalep, QStringLiteral("-"));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().first().text, QStringLiteral("'-' is not a valid integer value"));
}

TEST_F(SettingsDialog, SampleIsCentredLeftOfTheButtonsAndSizesTheDialog)
{
    struct Case {
        int width;
        int left;
    };
    open();
    for (const Case& c : {Case{30, 150}, Case{90, 34}, Case{99, 17}}) {
        type(dialog->SzerNalep, QString::number(c.width));
        EXPECT_EQ(dialog->ImageNal->x(), c.left) << c.width;
        EXPECT_EQ(dialog->ImageNal->width(), window->labels().geometry.PixSzerN + 2);
    }
    const int top = dialog->ImageNal->y();
    type(dialog->WysNalep, QStringLiteral("50"));
    EXPECT_EQ(window->labels().geometry.PixWysN, 192);
    EXPECT_EQ(dialog->height(), top + 192 + 15);
    type(dialog->WysNalep, QStringLiteral("11"));
    EXPECT_EQ(dialog->height(), 407 + 15);
    EXPECT_EQ(dialog->Button2->geometry().bottom(), dialog->height() - 9);
}

// As sharp as the preview on a high-density screen (ctest runs this again at QT_SCALE_FACTOR=2):
// drawn at the screen's device pixel ratio, the same size in the dialog's own pixels.
TEST_F(SettingsDialog, SampleIsDrawnAtTheDevicePixelRatio)
{
    open();
    EXPECT_EQ(dialog->devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
    EXPECT_EQ(dialog->sampleBitmap.devicePixelRatio(), dialog->devicePixelRatioF());
    EXPECT_EQ(dialog->sampleBitmap.deviceIndependentSize().toSize(), dialog->ImageNal->size());
    EXPECT_EQ(dialog->ImageNal->width(), window->labels().geometry.PixSzerN + 2);
    const QImage& sample = dialog->sampleBitmap;
    int edges = 0; // across the bars, halfway down the label
    for (int x = 1; x < sample.width(); ++x)
        edges += sample.pixelIndex(x, sample.height() / 2) !=
                 sample.pixelIndex(x - 1, sample.height() / 2);
    EXPECT_GT(edges, 40) << "the bars are drawn";
}

TEST_F(SettingsDialog, TestPagePrintsTheEditedGridAndLeavesTheQueue)
{
    queueLines(5);
    window->Pokastron1Click();
    const QLabel* page = window->Image;
    open();
    type(dialog->IloscKolumn, QStringLiteral("2"));
    type(dialog->IloscNalKol, QStringLiteral("3"));
    dialog->Button1->click();
    ASSERT_EQ(printers.ended().size(), 1);
    EXPECT_EQ(printers.ended()[0].texts().count(QStringLiteral("AB123321BA")), 6);
    EXPECT_EQ(window->labels().queue.ListaLini.size(), 5);
    EXPECT_EQ(window->labels().queue.ListaNal.size(), 5);
    EXPECT_EQ(window->Image, page);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(SettingsDialog, CommitWritesEveryKeyKeepingTheFilesEncoding)
{
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(AnsiCodec::encode(u"[Instalacja]\r\nNazwa 1=Biblioteka Główna\r\n"));
    ini.close();
    open();
    type(dialog->MargG, QStringLiteral("7"));
    dialog->BezRamki->setChecked(true);
    dialog->WzIdent->setText(QStringLiteral("99-99"));
    dialog->Button2->click();
    EXPECT_TRUE(dialogs.shown().isEmpty()) << "no question after a commit";
    EXPECT_FALSE(dialog->isVisible());

    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = AnsiCodec::decode(ini.readAll());
    for (const char* line : {"Nazwa 1=Biblioteka Główna",
                             "[Marginesy]",
                             "Górny=7",
                             "Lewy=3",
                             "Między Nalepkami Pionowy=9",
                             "Między Nalepkami Poziomy=7",
                             "Wysokość=30",
                             "Szerokość=61",
                             "Ilość Kolumn=3",
                             "Ilość Rzędów=8",
                             "Identyfikator=99-99",
                             "Bez Wyświetlania=0",
                             "Bez Ramki=1",
                             "Bez Nazwy=0",
                             "Bez Sygnatury=0",
                             "Z Logo Biblioteki=0",
                             "Ścieżka do Logo=",
                             "Szerokość Kodu Kreskowego=48",
                             "[Nazwa Biblioteki]",
                             "[Sygnatura]",
                             "Nazwa Czcionki=Courier",
                             "Wielkosc Czcionki=14",
                             "Skrypt=238",
                             "Podkreślenie=0",
                             "Pogrubienie=0",
                             "Pochylenie=0",
                             "Plik=naklejka.dat",
                             "utf8=1",
                             "[DRUKARKA]"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(text.contains(QStringLiteral("ścieżka=") + bufferDir()));
    EXPECT_EQ(window->labels().settings.MargGI, 7);
    EXPECT_EQ(window->labels().settings.WzorIdS, QStringLiteral("99-99"));
}

TEST_F(SettingsDialog, AChangedGridOrLabelSizeStartsTheNextSheetAtPlaceOne)
{
    for (const auto& [box, kept] : {std::pair{&TNal2::MargG, 7}, {&TNal2::IloscNalKol, 1}}) {
        window->labels().setFirstFree(7);
        open();
        type(dialog.get()->*box, QStringLiteral("40"));
        dialog->Button2->click();
        EXPECT_EQ(ProfileFile(iniPath()).readInteger(u"Sposób Wydruku", u"Pierwsza Wolna", 0),
                  kept);
    }
}

TEST_F(SettingsDialog, ChangedBufferAnsweredYesDropsTheQueueAndHides)
{
    queueLines(5);
    window->Pokastron1Click();
    open();
    const QString newBuffer = programDir() + QStringLiteral("inny/bufor.txt");
    ASSERT_TRUE(QDir().mkpath(programDir() + QStringLiteral("inny")));
    dialog->BufPath->setText(newBuffer);
    dialogs.answer(MessageAnswer::Yes);
    dialog->Button2->click();
    EXPECT_EQ(dialogs.shown(), QList<Message>{bufferQuestion});
    EXPECT_TRUE(window->labels().queue.ListaLini.isEmpty());
    EXPECT_EQ(window->labels().paths.NazwaPliku, newBuffer);
    EXPECT_EQ(window->labels().paths.FilePath, programDir() + QStringLiteral("inny/"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->state.HideForm);
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze: 0"));
}

TEST_F(SettingsDialog, ChangedBufferAnsweredNoKeepsTheOldOne)
{
    queueLines(5);
    const QString oldBuffer = window->labels().paths.NazwaPliku;
    open();
    dialog->BufPath->setText(programDir() + QStringLiteral("inny/bufor.txt"));
    dialogs.answer(MessageAnswer::No);
    dialog->Button2->click();
    EXPECT_EQ(window->labels().paths.NazwaPliku, oldBuffer);
    EXPECT_EQ(window->labels().queue.ListaLini.size(), 5);
    EXPECT_EQ(window->labels().queue.ListaNal.size(), 5) << "the page is rebuilt";
}

TEST_F(SettingsDialog, DiscardPutsTheSnapshotBack)
{
    open();
    type(dialog->IloscNalKol, QStringLiteral("5"));
    dialog->BezSygn->setChecked(true);
    dialog->BufPath->setText(QStringLiteral("/elsewhere/x.dat"));
    dialogs.answerFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    dialog->NazwaBibBut->click();
    EXPECT_EQ(window->labels().settings.IlWie, 5);

    dialogs.answer(MessageAnswer::No);
    dialog->close(); // the close box asks the same question
    EXPECT_EQ(dialogs.shown(), QList<Message>{saveQuestion});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window->labels().settings, Settings());
    EXPECT_EQ(window->labels().paths.NazwaPliku, bufferDir() + QStringLiteral("naklejka.dat"));
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsDialog, FailedWriteKeepsTheDialogOpen)
{
    window->labels().paths.LocalPath = programDir() + QStringLiteral("missing/");
    open();
    type(dialog->MargL, QStringLiteral("8"));
    dialogs.answer(MessageAnswer::Yes);
    dialog->close();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().last().text, QStringLiteral("Unable to write to ") + programDir() +
                                               QStringLiteral("missing/zelk_nal.ini"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->Zapisane);
    EXPECT_EQ(window->labels().settings.MargLI, 8) << "the live value stays";
}

} // namespace
