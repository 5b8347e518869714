#pragma once

#include <array>
#include <QList>
#include <QString>

class QPainter;

enum class TBarcodeType { bcCode_2_5_interleaved };

// Interleaved 2 of 5 encoder and bar painter. It keeps nothing between calls: every width query
// and every drawing encodes the text afresh from the current property values.
class TBarcode {
public:
    TBarcode() = default;

    int Height() const { return FHeight; }
    void setHeight(int height) { FHeight = height; }
    const QString& Text() const { return FText; }
    void setText(const QString& text) { FText = text; }
    int Top() const { return FTop; }
    void setTop(int top) { FTop = top; }
    int Left() const { return FLeft; }
    void setLeft(int left) { FLeft = left; }
    int Modul() const { return FModul; }
    void setModul(int modul); // SetModul: values outside 1..499 are ignored
    double Ratio() const { return FRatio; }
    void setRatio(double ratio) { FRatio = ratio; }
    TBarcodeType Typ() const { return FTyp; }
    void setTyp(TBarcodeType typ) { FTyp = typ; }
    bool ShowText() const { return FShowText; }
    void setShowText(bool showText) { FShowText = showText; }

    // The element widths in pixels: narrow, wide, one and a half times wide, twice wide. Clamps
    // Ratio into 2.0..3.0 and stores the clamped value. Each width must fit in a signed byte.
    std::array<int, 4> ComputeModules();
    // The widest narrow element whose element widths all fit in a signed byte at the (clamped)
    // Ratio: 21 at Ratio 3.0, 31 at 2.0. Callers keep Modul within it.
    int MaxModul();
    // One character per element, left to right: "0".."3" spaces, "5".."8" bars, by width.
    QString BuildPattern();
    // The width of the symbol that DrawBarcode paints.
    int Width();
    // Paints the symbol with its top-left corner at (Left, Top), Height pixels tall. Every
    // element is an exact rectangle, spaces included (white); the painter's state is kept.
    void DrawBarcode(QPainter& canvas);

private:
    struct Element {
        int width;
        bool bar;
    };
    Element ElementOf(QChar patternChar) const;
    QList<Element> elements();
    QString EncodeInterleaved() const;
    void clampRatio();

    int FHeight = 0;
    QString FText;
    int FTop = 0;
    int FLeft = 0;
    int FModul = 1;
    double FRatio = 2.0;
    TBarcodeType FTyp = TBarcodeType::bcCode_2_5_interleaved;
    bool FShowText = false;
    std::array<int, 4> modules{};
};
