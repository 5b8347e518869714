#pragma once

#include "platform/desktop/traypresence.h"

// A notification area that is there or not as the test says.
class FakeTrayPresence : public TrayPresence {
public:
    Kind present() const override { return kind; }

    Kind kind = Kind::None;
};
