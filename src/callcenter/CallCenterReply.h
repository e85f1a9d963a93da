#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>

// What one reply of the call-center server lists. A reply holds records when it begins with
// "#", then "A" or "C", then any character but ";". The records follow from the fourth
// character: fields one after another, each ended by "," or ";" (the last one) or by the end of
// the data (also the last one).
struct CCallCenterReply
{
    // The reply has the form that holds records, even when none of them is complete.
    bool m_holdsRecords = false;
    // The complete records, in reply order; an incomplete record and all after it are dropped.
    QList<QStringList> m_records;
};

// Replies come from the network, so what is kept is bounded: a field keeps its first
// kMaxFieldBytes bytes, and records after the first kMaxRecords are ignored.
constexpr qsizetype kMaxFieldBytes = 256;
constexpr qsizetype kMaxRecords = 100;

// Reads the records of fieldsPerRecord fields each (8 for assigned clients, 3 for waiting
// ones). Fields are Windows-1252 text. Pure: no state, no input or output.
CCallCenterReply ParseCallCenterReply(QByteArrayView reply, int fieldsPerRecord);
