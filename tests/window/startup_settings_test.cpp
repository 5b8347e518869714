#include "labels/texts.h"
#include "mainwindowfixture.h"

#include <QDir>
#include <QFile>

namespace {

class MainWindowSettings : public MainWindowFixture {
protected:
    void writeSettings(const QString& path, const QString& text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
};

TEST_F(MainWindowSettings, ARejectedFontOrAMissingPrinterIsReportedAndStartUpGoesOn)
{
    writeSettings(programDir() + QStringLiteral("zelk_nal.ini"),
                  QStringLiteral("[Wymiary Strony]\nIlość Kolumn=4\n"
                                 "[Sygnatura]\nSkrypt=300\nWielkosc Czcionki=20\n"
                                 "[Identyfikator]\nWielkosc Czcionki=11\n"
                                 "[Instalacja]\nNazwa 1=Biblioteka Miejska\n"
                                 "[DRUKARKA]\nnazwa=Magazyn\n"));
    start();
    EXPECT_EQ(
        dialogs.shown(),
        QList<Message>({{QStringLiteral("Range check error"), Texts::appTitle(), MessageButtons::Ok,
                         MessageIcon::Error},
                        {QStringLiteral("Drukarka „Magazyn” wskazana w ustawieniach nie jest "
                                        "zainstalowana; naklejki będą drukowane na drukarce "
                                        "„Etykiety”."),
                         Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Exclamation}}));
    EXPECT_EQ(window->labels().settings.IlKol, 4);
    EXPECT_EQ(window->labels().settings.SFont, LabelFont());
    EXPECT_EQ(window->labels().settings.IFont.size, 11);
    EXPECT_EQ(window->labels().settings.NazBib1, QStringLiteral("Biblioteka Miejska"));
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_EQ(window->hint(), QStringLiteral("Liczba kodów w buforze: 0"));
}

TEST_F(MainWindowSettings, TheFirstArgumentLocatesTheSettingsAndTheBuffer)
{
    const QString conf = programDir() + QStringLiteral("conf/");
    ASSERT_TRUE(QDir().mkpath(conf));
    writeSettings(conf + QStringLiteral("etykiety.ini"),
                  QStringLiteral("[NAKLEJKI]\nPlik=kody.txt\nścieżka=%INI%temp/\n"
                                 "[Wymiary Strony]\nIlość Rzędów=10\n"));
    start({conf + QStringLiteral("etykiety.ini")});
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(window->labels().paths.LocalPath, conf);
    EXPECT_EQ(window->labels().paths.IniName, QStringLiteral("etykiety.ini"));
    EXPECT_EQ(window->labels().paths.NazwaPliku, bufferDir() + QStringLiteral("kody.txt"));
    EXPECT_EQ(window->labels().settings.IlWie, 10);
}

} // namespace
