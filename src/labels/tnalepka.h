#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// One composed label: its texts and the absolute positions of its elements on the sheet, in
// layout pixels. A record never changes after it has been composed.
struct TNalepka {
    QString Naz1;       // first name line, or both lines joined by a blank
    QString Naz2;       // second name line; empty when joined or not drawn
    QString Sygn;       // call number as drawn
    QString Numer;      // identifier formatted through the pattern, or a complaint
    QImage Logo;        // shared logo bitmap, null when no logo is drawn
    QByteArray BarCode; // the characters the barcode encodes
    int NalX = 0;
    int Naz1Y = 0;
    int Naz2Y = 0;
    int SygY = 0;
    int NrY = 0;
    int Logo1X = 0, Logo1Y = 0, Logo2X = 0, Logo2Y = 0;
    int Ramka1X = 0, Ramka1Y = 0, Ramka2X = 0, Ramka2Y = 0;
    int BarH = 0;
    int BarT = 0;
    int BarL = 0;
};
