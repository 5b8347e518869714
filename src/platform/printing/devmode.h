#pragma once

#include "platform/printing/printsettings.h"

#include <QByteArray>

// The printer-settings block in the layout of a Windows DEVMODEW: a 220-byte public part
// followed by the driver's private part. Blocks written by our driver carry a fixed-size,
// versioned private part with what the public part cannot say; the public part of a block from
// any other driver is still understood.
namespace DevMode {

constexpr int publicSize = 220;
constexpr int deviceNameUnits = 32;
constexpr int sizeOffset = 68;        // dmSize, unsigned 16-bit little-endian
constexpr int driverExtraOffset = 70; // dmDriverExtra, likewise

QByteArray encode(const PrintSettings& settings);
PrintSettings decode(const QByteArray& block);

// dmDeviceName up to its first NUL.
QString deviceName(const QByteArray& block);
// dmSize + dmDriverExtra of a block whose public part `block` begins with.
int blockSize(const QByteArray& block);

} // namespace DevMode
