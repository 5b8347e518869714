#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QPainter;

// A page to measure a printer's correction with: laid on a sheet of the stock against the light,
// it shows how far the printer puts the labels from where they are.
struct CalibrationPage {
    QList<QRect> frames; // the labels of the sheet, in the painter's dots
    int resolution = 300;
    QString caption; // what was printed on what
};

// Draws the labels' outlines, a cross on the first label's top-left corner and one on the last
// label's bottom-right corner, each arm with a millimetre ruler, and the caption between them.
void drawCalibrationPage(QPainter& painter, const CalibrationPage& page);
