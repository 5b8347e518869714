#pragma once

#include "dialogs/spinedit.h"
#include "dialogs/tnal2.h"
#include "labels/texts.h"
#include "mainwindowfixture.h"

#include <memory>

inline const Message pickPictureFirst{QStringLiteral("Wybierz najpierw obrazek!"),
                                      Texts::messageCaption(), MessageButtons::Ok,
                                      MessageIcon::Exclamation};
inline const Message saveQuestion{QStringLiteral("Nowe ustawienia nie zostały zapisane. Zapisać?"),
                                  Texts::messageCaption(), MessageButtons::YesNo,
                                  MessageIcon::Exclamation};
inline const Message bufferQuestion{
    QStringLiteral("Zmiana bufora naklejek powoduje utratę kodów w buforze bieżącym\r\nCzy zmienić "
                   "bufor?"),
    Texts::messageCaption(), MessageButtons::YesNo, MessageIcon::Exclamation};

// A started main window and the settings dialog opened from it.
class SettingsDialog : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }

    // The dialog refers to the window, which the fixture's TearDown destroys.
    void TearDown() override
    {
        dialog.reset();
        MainWindowFixture::TearDown();
    }

    // `with` answers the dialog's own questions and common dialogs; the main window's reports
    // go to the fixture's `dialogs`.
    void open(Dialogs& with)
    {
        dialog = std::make_unique<TNal2>(*window, with);
        dialog->show();
    }
    void open() { open(dialogs); }

    // Makes the dialog the active window, as the user sees it, so that keys and focus work.
    void activate();

    // Types into a box as a user would: the text changes, then the box loses the focus.
    static void type(SpinEdit* box, const QString& text) { box->setText(text); }

    QString iniPath() const { return programDir() + QStringLiteral("zelk_nal.ini"); }

    std::unique_ptr<TNal2> dialog;
};
