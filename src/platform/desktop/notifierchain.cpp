#include "platform/desktop/notifierchain.h"

#include <algorithm>

bool NotifierChain::reachable() const
{
    return std::any_of(m_ways.begin(), m_ways.end(),
                       [](const auto& way) { return way->reachable(); });
}

void NotifierChain::notify(const QString& text, bool failed)
{
    const auto way = std::find_if(m_ways.begin(), m_ways.end(),
                                  [](const auto& candidate) { return candidate->reachable(); });
    if (way != m_ways.end())
        (*way)->notify(text, failed);
}
