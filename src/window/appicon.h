#pragma once

#include <QIcon>

// The program's icon: a small barcode, drawn at the usual sizes.
QIcon barcodeIcon();
