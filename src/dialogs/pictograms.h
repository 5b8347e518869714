#pragma once

#include <QPixmap>

// The small drawings beside the page-layout boxes of the settings dialog.
namespace Pictograms {
QPixmap arrowOntoTopEdge();  // offset from the page's top edge
QPixmap arrowOntoLeftEdge(); // offset from the page's left edge
QPixmap labelsOneAboveTheOther();
QPixmap labelsSideBySide();
} // namespace Pictograms
