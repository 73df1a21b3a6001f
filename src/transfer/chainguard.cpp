#include "transfer/chainguard.h"

bool ChainGuard::Claim(const CommandChain* chain)
{
    // The running chain itself is refused too: a second start would restart it mid-way.
    if (m_running)
        return false;
    m_running = chain;
    return true;
}

void ChainGuard::Release(const CommandChain* chain)
{
    if (m_running == chain)
        m_running = nullptr;
}
