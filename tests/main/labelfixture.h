#pragma once

#include "main/textmetrics.h"
#include "mainwindowfixture.h"

#include <ostream>
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

// A started main window with the default settings, measuring with FixedTextMetrics, and
// fonts of 16 points for the name, 12 for the call number and 14 for the identifier.
class LabelFixture : public MainWindowFixture {
protected:
    void SetUp() override;

    // Lays out the queue (the given lines) as showing the window does.
    void compose(const QStringList& lines);
    const TNalepka& label(int index) const { return window->queue.ListaNal.at(index); }
    QString messages() const;

    FixedTextMetrics* metrics = nullptr;
};

// Whether every pixel of the rectangle is white.
bool isWhite(const QImage& image, const QRect& area);
