#pragma once

#include "platform/desktop/notifier.h"

#include <memory>
#include <vector>

// Sends each notice the first way that reaches the desktop at that moment, so that a
// notification service or a tray that comes or goes during the session is followed.
class NotifierChain : public Notifier {
public:
    explicit NotifierChain(std::vector<std::unique_ptr<Notifier>> ways)
        : m_ways(std::move(ways))
    {
    }

    bool reachable() const override;
    void notify(const QString& text, bool failed) override;

private:
    std::vector<std::unique_ptr<Notifier>> m_ways;
};
