#include "platform/stderrdialogs.h"

#include <cstdio>

MessageAnswer StderrDialogs::message(const Message& message)
{
    if (message.buttons == MessageButtons::YesNo) {
        std::fprintf(stderr, "zelk_nal: %s (odpowiedź: Nie)\n", qUtf8Printable(message.text));
        return MessageAnswer::No;
    }
    std::fprintf(stderr, "zelk_nal: %s\n", qUtf8Printable(message.text));
    ++m_reports;
    return MessageAnswer::Ok;
}
