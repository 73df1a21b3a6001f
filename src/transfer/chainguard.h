#ifndef CHAINGUARD_H
#define CHAINGUARD_H

class CommandChain;

// The running-transfer guard of one link: at most one chain runs on it at a
// time, whichever tab started it. The window owns one and hands it to every
// chain; tests give each bench its own. GUI thread only.
class ChainGuard
{
public:
    // False when a chain, this one included, already holds the link.
    bool Claim(const CommandChain* chain);
    void Release(const CommandChain* chain);
    bool IsBusy() const { return m_running != nullptr; }

private:
    const CommandChain* m_running = nullptr;
};

#endif // CHAINGUARD_H
