#pragma once

// Interleaved 2 of 5 encoder and bar painter (to be completed).
class TBarcode {
public:
    TBarcode() = default;
};
