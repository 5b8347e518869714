#include "labels/barfit.h"

#include "barcode/tbarcode.h"
#include "platform/rounding.h"

#include <algorithm>
#include <cmath>
#include <QString>

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

int finestModul(int dpi)
{
    constexpr double finestMillimetres = 0.16;
    constexpr double millimetresPerInch = 25.4;
    return int(std::ceil(finestMillimetres * dpi / millimetresPerInch - 1e-9));
}

bool fitBarsOnPaper(TBarcode& code, int boxLeft, int boxWidth, FrameInside inside, int finest)
{
    const int fitted = code.Modul();
    code.setModul(std::clamp(fitted, finest, std::max(finest, code.MaxModul())));
    while (code.Modul() > finest &&
           spaceBeside(boxLeft, boxWidth, code.Width(), inside) < quietZoneElements * code.Modul())
        code.setModul(code.Modul() - 1);
    if (spaceBeside(boxLeft, boxWidth, code.Width(), inside) < quietZoneElements * code.Modul()) {
        code.setModul(fitted);
        return false;
    }
    code.setLeft(centredInBox(boxLeft, boxWidth, code.Width()));
    return true;
}

int mostDigitsFitting(const TBarcode& code, int boxLeft, int boxWidth, FrameInside inside,
                      int finest)
{
    constexpr int mostDigits = 64;
    TBarcode trial = code;
    for (int digits = mostDigits; digits >= 2; digits -= 2) {
        trial.setText(QString(digits, u'0'));
        trial.setModul(finest);
        if (fitBarsOnPaper(trial, boxLeft, boxWidth, inside, finest))
            return digits;
    }
    return 0;
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
