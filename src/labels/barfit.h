#pragma once

class TBarcode;

// The white inside of a label's frame on one surface: its first column and the column after its
// last. A scanner needs ten narrow elements of white between the bars and whatever is drawn
// around them; the frame is the nearest such line, and without a frame the label's edge is.
struct FrameInside {
    int left = 0;
    int right = 0;
};

// The narrowest element a hand scanner reads reliably, 0.16 mm, in whole dots at `dpi`: 2 dots at
// 300 dpi, 4 at 600, 8 at 1200.
int finestModul(int dpi);

// On paper: the symbol of `code` centred in the box of `boxWidth` dots at `boxLeft`, its narrow
// element being code's Modul as fitted to the box, held between `finest` and the barcode's limit
// and then narrowed (to `finest` at least) until ten narrow elements of space remain inside the
// frame on each side. Sets Modul and Left accordingly. False, with code unchanged, when even
// `finest` leaves too little space: the symbol cannot print readably on that label.
bool fitBarsOnPaper(TBarcode& code, int boxLeft, int boxWidth, FrameInside inside, int finest);

// The most digits (an even number, 0 when not even two) whose symbol fits as fitBarsOnPaper
// places it, with code's other properties.
int mostDigitsFitting(const TBarcode& code, int boxLeft, int boxWidth, FrameInside inside,
                      int finest);

// On the screen: the width the symbol, `naturalWidth` pixels at a narrow element of `modul`
// pixels, is stretched to. That is the box's width unless less would leave ten stretched narrow
// elements of space inside the frame on each side of the symbol centred in the box.
int stretchedBarsWidth(int naturalWidth, int modul, int boxLeft, int boxWidth, FrameInside inside);

// The left edge of a symbol `width` wide centred in the box.
int centredInBox(int boxLeft, int boxWidth, int width);
