#pragma once

#include "labels/settings.h"

#include <QString>

// Text sizes in layout pixels, as the screen shows a text in one of the label fonts.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int textHeight(const LabelFont& font, const QString& text) const = 0;
    virtual int textWidth(const LabelFont& font, const QString& text) const = 0;
};
