#include "labels/barfit.h"

#include "barcode/tbarcode.h"
#include "platform/rounding.h"

#include <algorithm>

namespace {

constexpr int quietZoneElements = 10;

// The white between a symbol centred in the box and the frame, on the narrower side.
int spaceBeside(int boxLeft, int boxWidth, int width, FrameInside inside)
{
    const int left = centredInBox(boxLeft, boxWidth, width);
    return std::min(left - inside.left, inside.right - (left + width));
}

} // namespace

int centredInBox(int boxLeft, int boxWidth, int width)
{
    return boxLeft + roundHalfEven((boxWidth - width) / 2.0);
}

void fitBarsOnPaper(TBarcode& code, int boxLeft, int boxWidth, FrameInside inside)
{
    code.setModul(std::min(code.Modul(), code.MaxModul()));
    while (code.Modul() > 1 &&
           spaceBeside(boxLeft, boxWidth, code.Width(), inside) < quietZoneElements * code.Modul())
        code.setModul(code.Modul() - 1);
    code.setLeft(centredInBox(boxLeft, boxWidth, code.Width()));
}

int stretchedBarsWidth(int naturalWidth, int modul, int boxLeft, int boxWidth, FrameInside inside)
{
    // A stretched narrow element is modul × width / naturalWidth pixels wide.
    int width = boxWidth;
    while (width > 1 && spaceBeside(boxLeft, boxWidth, width, inside) * naturalWidth <
                            quietZoneElements * modul * width)
        --width;
    return width;
}
