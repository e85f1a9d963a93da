#include "CUserTable.h"

#include "CRequestSocket.h"

#include <algorithm>

CUserTable g_userTable;

CRequestSocket *CUserTable::Find(const QString &key) const
{
    const auto found = std::find_if(m_users.cbegin(), m_users.cend(),
                                    [&key](const Entry &entry) { return entry.key == key; });
    return found == m_users.cend() ? nullptr : found->record;
}

QStringList CUserTable::Keys() const
{
    QStringList keys;
    for (const Entry &entry : m_users)
        keys.append(entry.key);
    return keys;
}

void CUserTable::Insert(const QString &key, CRequestSocket *record)
{
    record->AddRef();
    for (Entry &entry : m_users) {
        if (entry.key == key) {
            std::exchange(entry.record, record)->Release();
            return;
        }
    }
    m_users.append({key, record});
}

void CUserTable::Remove(const QString &key)
{
    for (qsizetype i = 0; i < m_users.size(); ++i) {
        if (m_users[i].key == key) {
            CRequestSocket *record = m_users.takeAt(i).record;
            record->Release();
            return;
        }
    }
}

void CUserTable::Clear()
{
    // Release after emptying, so that nothing released can see a half-cleared table.
    const QList<Entry> users = std::exchange(m_users, {});
    for (const Entry &entry : users)
        entry.record->Release();
}
