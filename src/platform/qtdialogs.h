#pragma once

#include "platform/dialogs.h"

// Dialogs shown as real Qt message boxes.
class QtDialogs : public Dialogs {
public:
    MessageAnswer message(const Message& message) override;
    void notify(const Message& message) override;
};
