#pragma once

#include "platform/apperror.h"

// A label that must not leave the program as it would print: its bars would not scan, or would
// not be there at all. The run stops with it rather than print it.
class UnprintableLabel : public AppError {
public:
    using AppError::AppError;
};

// Bars this many layout pixels high or less leave a scanner nothing to read: such a label is
// refused on the screen and on paper alike, and as every label of the settings shares the height
// of its bars, the run stops there.
constexpr int minimumBarHeight()
{
    return 10;
}

inline QString barsTooLowText()
{
    return QStringLiteral("Kod kreskowy jest zbyt niski - zmniejsz wielkość napisów");
}
