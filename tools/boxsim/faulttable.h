#pragma once

#include "tools/boxsim/boxtypes.h"

#include <QHash>
#include <QString>

#include <optional>

namespace boxsim {

// Faults on demand: one global fault and any number of per-path faults. A per-path fault wins
// over the global one. A path ending in '*' covers every path that starts with what precedes it.
class FaultTable
{
public:
    void setGlobal(const Fault& fault);
    void clearGlobal();
    void set(const QString& path, const Fault& fault);
    void clear(const QString& path);
    void clearAll();

    // The fault for a request of this path; counts it against the fault's number of times.
    Fault take(const QString& path);
    // Whether the whole receiver refuses connections.
    bool refusesAll() const;

private:
    static Fault use(Fault& fault, bool& usedUp);

    std::optional<Fault> m_global;
    QHash<QString, Fault> m_paths;
};

} // namespace boxsim
