#pragma once

#include "platform/desktop/dialogs.h"

// Answers every question No, so that a run prints its sheets once, and counts the messages
// shown: a benchmark whose run reported something did not do the work it times.
class DecliningDialogs : public Dialogs {
public:
    MessageAnswer message(const Message& message) override
    {
        ++shown;
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    void notify(const Message&) override {}
    void withdraw(const QString&) override {}
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    std::optional<QString> openPicture(const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }

    int shown = 0;
};
