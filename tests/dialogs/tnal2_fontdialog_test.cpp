// The font buttons of the settings dialog with Qt's own font dialog: it opens on the face the
// label is drawn with, and confirming it unchanged changes nothing.
#include "platform/desktop/qtdialogs.h"
#include "settingsdialogfixture.h"

#include <functional>
#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

// For readable failures; found by argument-dependent lookup, so outside the unnamed namespace.
static void PrintTo(const LabelFont& font, std::ostream* out)
{
    *out << '"' << font.name.toStdString() << "\" " << font.size << " pt, charset " << font.charset
         << (font.underline ? ", underline" : "") << (font.bold ? ", bold" : "")
         << (font.italic ? ", italic" : "");
}

namespace {

// The real font dialog; everything else answered from the script.
class QtFontDialogs : public ScriptedDialogs {
public:
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        return QtDialogs().chooseFont(initial);
    }
};

// Once the font dialog is open, `act` looks at it or changes it, then OK is pressed.
void whenFontDialogOpens(std::function<void(QFontDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        dialog->accept();
    });
}

// Face, style and size as the dialog shows them in its three edit boxes.
QStringList shownChoice(const QFontDialog& dialog)
{
    QStringList shown;
    for (const QLineEdit* edit : dialog.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        shown << edit->text();
    return shown;
}

struct StoredFont {
    const char* name;
    LabelFont font;
    QStringList shown; // what the dialog opens on
};

void PrintTo(const StoredFont& font, std::ostream* out)
{
    *out << font.name;
}

class FontDialog : public SettingsDialog {
protected:
    // Opens the dialog on the institution name's font and presses "Na&zwa".
    void chooseNameFont(const LabelFont& stored, std::function<void(QFontDialog&)> act)
    {
        window->labels().settings.NFont = stored;
        open(fontDialogs);
        whenFontDialogOpens(std::move(act));
        dialog->NazwaBibBut->click();
    }

    QtFontDialogs fontDialogs;
};

class ConfirmedUnchanged : public FontDialog, public ::testing::WithParamInterface<StoredFont> {};

TEST_P(ConfirmedUnchanged, OpensOnTheDrawnFaceAndKeepsTheStoredFont)
{
    const StoredFont& param = GetParam();
    QStringList shown;
    chooseNameFont(param.font, [&](QFontDialog& dialog) { shown = shownChoice(dialog); });
    EXPECT_EQ(shown, param.shown);
    EXPECT_EQ(window->labels().settings.NFont, param.font);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsDialog, ConfirmedUnchanged,
    ::testing::Values(StoredFont{"CourierRegular",
                                 {"Courier", 14, 238, false, false, false},
                                 {"Liberation Mono", "Regular", "14"}},
                      StoredFont{"ArialBoldUnderlined",
                                 {"Arial", 10, 238, true, true, false},
                                 {"Liberation Sans", "Bold", "10"}},
                      StoredFont{"CourierNewBoldItalic",
                                 {"Courier New", 9, 0, false, true, true},
                                 {"Liberation Mono", "Bold Italic", "9"}},
                      StoredFont{"InstalledFaceRegular",
                                 {"DejaVu Sans Mono", 12, 238, false, false, false},
                                 {"DejaVu Sans Mono", "Book", "12"}},
                      StoredFont{"InstalledFaceItalic",
                                 {"DejaVu Sans Mono", 12, 238, false, false, true},
                                 {"DejaVu Sans Mono", "Oblique", "12"}}),
    [](const ::testing::TestParamInfo<StoredFont>& info) { return info.param.name; });

TEST_F(FontDialog, AnotherFaceIsStoredByItsName)
{
    chooseNameFont({"Courier", 14, 238, true, false, false}, [](QFontDialog& dialog) {
        QFont serif(QStringLiteral("DejaVu Serif"), 11);
        serif.setStyleName(QStringLiteral("Book"));
        dialog.setCurrentFont(serif);
    });
    EXPECT_EQ(window->labels().settings.NFont,
              LabelFont({"DejaVu Serif", 11, 238, true, false, false}));
}

TEST_F(FontDialog, OffersNoEffects)
{
    int checkBoxes = 0;
    chooseNameFont(LabelFont(), [&](QFontDialog& dialog) {
        for (const QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            ++checkBoxes;
            EXPECT_FALSE(box->isVisibleTo(&dialog)) << box->text().toStdString();
        }
    });
    EXPECT_GT(checkBoxes, 0) << "strike-out and underline are there, hidden";
}

} // namespace
