#pragma once

#include "labels/settings.h"

#include <QFont>

// The font dialog lists installed faces and their styles, while a label font keeps the face name
// its settings file holds: often one of Windows' faces, drawn here by a metric-compatible
// stand-in or whatever face fontconfig picks for it.

// The installed face, style and size that `font` is drawn with: what the font dialog opens on.
QFont drawnFace(const LabelFont& font);

// Takes the size, bold and italic confirmed in the font dialog that opened on `opened`, and the
// face when it is another one than the dialog opened on. While the face stays, so does its
// stored name, so that a settings file moved back to Windows still names Windows' face.
// Underline and character set are not offered by the dialog and stay as they are.
void takeChosenFont(LabelFont& font, const QFont& opened, const QFont& chosen);
