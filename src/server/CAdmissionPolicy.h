#pragma once

#include <QHash>
#include <QtGlobal>

// Decides which new connections the server takes, so that no one peer can fill the connection
// cap and shut the users out. Every address may hold only a share of the cap, and the address
// of a logged-on user has slots of its own beyond it, so that the user's control-page polls get
// in whatever the others do. Knows nothing of sockets: the caller says who is asking.
class CAdmissionPolicy
{
public:
    // An address may hold at most this fraction of the cap.
    static constexpr int kAddressShareDivisor = 8;
    // Connections a logged-on user's address may open beyond the cap: its control window's poll,
    // a held poll and a page with its images.
    static constexpr int kUserSlots = 8;

    // Which count a connection was taken into; Refused is not taken at all.
    enum Pool { Refused, Shared, UserSlot };

    explicit CAdmissionPolicy(int maxConnections);

    // The cap of the shared pool; the per-address share follows it unless set.
    void SetMaxConnections(int count);
    void SetMaxPerAddress(int count) { m_maxPerAddress = count; }
    int MaxPerAddress() const;

    // A logged-on user's address is taken into the shared pool while that has room for it, then
    // into its own slots.
    Pool Admit(quint32 address, bool loggedOnUser);
    // The connection taken into the pool has closed.
    void Leave(quint32 address, Pool pool);

    int Open() const { return m_sharedOpen + m_userSlotsOpen; }

private:
    static void Take(QHash<quint32, int> &counts, quint32 address);
    static void Give(QHash<quint32, int> &counts, quint32 address);

    int m_maxConnections;
    int m_maxPerAddress = 0; // 0: the share of the cap
    int m_sharedOpen = 0;
    int m_userSlotsOpen = 0;
    QHash<quint32, int> m_shared; // connections in the shared pool, by address
    QHash<quint32, int> m_userSlots; // connections in users' own slots, by address
};
