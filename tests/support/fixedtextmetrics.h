#pragma once

#include "labels/labelprinter.h"
#include "labels/textmetrics.h"

#include <QImage>
#include <QList>

// Text sizes that tests can count on: a text is as many pixels tall as its font has points,
// and half a pixel per point wide for each character.
class FixedTextMetrics : public TextMetrics {
public:
    int textHeight(const LabelFont& font, const QString&) const override { return font.size; }
    int textWidth(const LabelFont& font, const QString& text) const override
    {
        widthQueries << std::pair{font.size, text};
        return int(text.size()) * font.size / 2;
    }

    mutable QList<std::pair<int, QString>> widthQueries; // font size, text
};

// Puts FixedTextMetrics in the label printer's place, with fonts of 16 points for the name, 12
// for the call number and 14 for the identifier; returns the metrics.
FixedTextMetrics* measureWithFixedMetrics(LabelPrinter& labels);

// Whether every pixel of the rectangle is white.
bool isWhite(const QImage& image, const QRect& area);
