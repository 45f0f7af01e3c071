#include "tools/boxsim/faulttable.h"

namespace boxsim {

void FaultTable::setGlobal(const Fault& fault)
{
    m_global = fault;
}

void FaultTable::clearGlobal()
{
    m_global.reset();
}

void FaultTable::set(const QString& path, const Fault& fault)
{
    m_paths.insert(path, fault);
}

void FaultTable::clear(const QString& path)
{
    m_paths.remove(path);
}

void FaultTable::clearAll()
{
    m_global.reset();
    m_paths.clear();
}

bool FaultTable::refusesAll() const
{
    return m_global && m_global->kind == FaultKind::Refuse && m_global->times != 0;
}

Fault FaultTable::use(Fault& fault, bool& usedUp)
{
    usedUp = false;
    if (fault.times > 0 && --fault.times == 0)
        usedUp = true;
    return fault;
}

Fault FaultTable::take(const QString& path)
{
    auto it = m_paths.find(path);
    if (it == m_paths.end()) {
        qsizetype longest = -1;
        for (auto candidate = m_paths.begin(); candidate != m_paths.end(); ++candidate) {
            const QString& key = candidate.key();
            if (key.endsWith(u'*') && path.startsWith(QStringView(key).chopped(1)) && key.size() > longest) {
                longest = key.size();
                it = candidate;
            }
        }
    }
    bool usedUp = false;
    if (it != m_paths.end() && it->times != 0) {
        const Fault fault = use(*it, usedUp);
        if (usedUp)
            m_paths.erase(it);
        return fault;
    }
    if (m_global && m_global->times != 0) {
        const Fault fault = use(*m_global, usedUp);
        if (usedUp)
            m_global.reset();
        return fault;
    }
    return {};
}

} // namespace boxsim
