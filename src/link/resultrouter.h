#ifndef RESULTROUTER_H
#define RESULTROUTER_H

#include <QString>

#include <functional>
#include <map>

// Maps the result identifiers of SIG_Data(2, id, s) to the subsystem that
// owns them. Each subsystem registers its own branches, so the window's
// dispatcher keeps only the frame.
class ResultRouter
{
public:
    using Handler = std::function<void(const QString& s)>;

    // A later registration of the same identifier replaces the earlier one.
    void Register(unsigned int resultId, Handler handler);
    bool IsRegistered(unsigned int resultId) const;
    // False when no branch owns resultId: the event is ignored.
    bool Dispatch(unsigned int resultId, const QString& s) const;

private:
    std::map<unsigned int, Handler> m_handlers;
};

#endif // RESULTROUTER_H
