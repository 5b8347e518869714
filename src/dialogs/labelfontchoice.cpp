#include "dialogs/labelfontchoice.h"

#include <QFontInfo>

namespace {

// A face installed by several foundries is listed as "Family [foundry]"; a settings file names
// the family alone.
QString familyName(const QString& listed)
{
    const qsizetype foundry = listed.lastIndexOf(QLatin1String(" ["));
    return foundry > 0 && listed.endsWith(u']') ? listed.left(foundry) : listed;
}

} // namespace

QFont drawnFace(const LabelFont& font)
{
    const QFont drawn = font.toQFont();
    const QFontInfo face(drawn);
    QFont opened(face.family(), drawn.pointSize());
    // The style by its name: a face's regular style may be "Book" or "Roman", which a dialog
    // looking for the weight's name would miss and replace by the face's first style.
    opened.setStyleName(face.styleName());
    opened.setBold(font.bold);
    opened.setItalic(font.italic);
    return opened;
}

void takeChosenFont(LabelFont& font, const QFont& opened, const QFont& chosen)
{
    if (chosen.family() != opened.family())
        font.name = familyName(chosen.family());
    font.size = chosen.pointSize();
    font.bold = chosen.bold();
    font.italic = chosen.italic();
}
