#pragma once

#include "CallCenterReply.h"

#include <QString>

#include <atomic>
#include <functional>

class CSvrOptions;

// What the call center's lists change: the user table, the waiting table and the news posted
// to the navigation tree. Everything here runs with the user-table lock held, which also
// guards the waiting table. The waiting table holds one reference on each of its records; a
// record that leaves both tables is released, never while another table still holds it.

// Records made for call-center clients take their settings from here; set at link creation.
void SetCallCenterRecordOptions(const CSvrOptions &options);

// An assigned reply: every listed client not yet a user becomes one (taken from the waiting
// table when it waits there), a user already listed is kept alive. Nothing happens once stop
// is set, so that a poll that outlived its link leaves the tables alone.
void HandleAssignedReply(const CCallCenterReply &reply, quint32 pollTime,
                         const std::atomic_bool &stop);

// A waiting reply: new clients enter the waiting table and are claimed through claim (except
// "Mr_Client"), a listed client that is a user stops being one, and a waiting client missing
// from the reply leaves. A reply that holds no records changes nothing.
void HandleWaitingReply(const CCallCenterReply &reply, quint32 pollTime,
                        const std::atomic_bool &stop,
                        const std::function<void(const QString &key)> &claim);

// Empties the waiting table, telling the tree that each client left, and releases its records.
void ReleaseWaitingRecords();

// The keys in the waiting table, in no particular order.
QStringList WaitingKeys();
