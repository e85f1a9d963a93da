#include "CAdmissionPolicy.h"

#include <algorithm>

CAdmissionPolicy::CAdmissionPolicy(int maxConnections)
    : m_maxConnections(maxConnections)
{ }

void CAdmissionPolicy::SetMaxConnections(int count)
{
    m_maxConnections = count;
}

int CAdmissionPolicy::MaxPerAddress() const
{
    return m_maxPerAddress > 0 ? m_maxPerAddress
                               : std::max(1, m_maxConnections / kAddressShareDivisor);
}

CAdmissionPolicy::Pool CAdmissionPolicy::Admit(quint32 address, bool loggedOnUser)
{
    if (m_sharedOpen < m_maxConnections && m_shared.value(address) < MaxPerAddress()) {
        ++m_sharedOpen;
        Take(m_shared, address);
        return Shared;
    }
    if (loggedOnUser && m_userSlots.value(address) < kUserSlots) {
        ++m_userSlotsOpen;
        Take(m_userSlots, address);
        return UserSlot;
    }
    return Refused;
}

void CAdmissionPolicy::Leave(quint32 address, Pool pool)
{
    if (pool == Shared) {
        --m_sharedOpen;
        Give(m_shared, address);
    } else if (pool == UserSlot) {
        --m_userSlotsOpen;
        Give(m_userSlots, address);
    }
}

void CAdmissionPolicy::Take(QHash<quint32, int> &counts, quint32 address)
{
    ++counts[address];
}

void CAdmissionPolicy::Give(QHash<quint32, int> &counts, quint32 address)
{
    const auto found = counts.find(address);
    if (found != counts.end() && --found.value() <= 0)
        counts.erase(found);
}
