#pragma once

#include <QList>
#include <QMutexLocker>
#include <QString>

#include <mutex>

class CRequestSocket;

// The users logged on to the session, keyed by dotted IPv4 address, in order of arrival. The
// table holds one reference on each record. Every reading or change of the table, and every
// push to its users, happens with Lock() held; the lock is recursive for its owner thread.
class CUserTable
{
public:
    static constexpr int kCapacity = 10;

    // A standard mutex, so that thread checkers see the call-center threads take it.
    std::recursive_mutex &Lock() { return m_lock; }

    int Size() const { return static_cast<int>(m_users.size()); }
    bool Contains(const QString &key) const { return Find(key) != nullptr; }
    CRequestSocket *Find(const QString &key) const;
    QStringList Keys() const;

    // Stores the record under the key, taking a reference; an earlier record under that key is
    // released, its place in the order kept.
    void Insert(const QString &key, CRequestSocket *record);
    // Drops the key and releases its record; nothing happens for an unknown key.
    void Remove(const QString &key);
    // Releases every record; when the session closes.
    void Clear();

private:
    struct Entry
    {
        QString key;
        CRequestSocket *record;
    };

    std::recursive_mutex m_lock;
    QList<Entry> m_users;
};

// The program's one user table.
extern CUserTable g_userTable;
