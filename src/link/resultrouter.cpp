#include "link/resultrouter.h"

void ResultRouter::Register(unsigned int resultId, Handler handler)
{
    m_handlers[resultId] = std::move(handler);
}

bool ResultRouter::IsRegistered(unsigned int resultId) const
{
    return m_handlers.count(resultId) != 0;
}

bool ResultRouter::Dispatch(unsigned int resultId, const QString& s) const
{
    const auto it = m_handlers.find(resultId);
    if (it == m_handlers.end() || !it->second)
        return false;
    it->second(s);
    return true;
}
