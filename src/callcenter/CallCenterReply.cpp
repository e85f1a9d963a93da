#include "CallCenterReply.h"

#include "Cp1252.h"

namespace {

struct Field
{
    QString text;
    bool last = false;
};

// Reads the field that starts at position, moving it past the field's end character.
Field ReadField(QByteArrayView reply, qsizetype &position)
{
    const qsizetype start = position;
    while (position < reply.size() && reply[position] != ',' && reply[position] != ';')
        ++position;
    const QByteArrayView bytes = reply.sliced(start, position - start);
    const bool last = position >= reply.size() || reply[position] == ';';
    ++position;
    return {FromCp1252(bytes.first(std::min(bytes.size(), kMaxFieldBytes))), last};
}

} // namespace

CCallCenterReply ParseCallCenterReply(QByteArrayView reply, int fieldsPerRecord)
{
    CCallCenterReply result;
    result.m_holdsRecords = reply.size() >= 3 && reply[0] == '#'
        && (reply[1] == 'A' || reply[1] == 'C') && reply[2] != ';';
    if (!result.m_holdsRecords || fieldsPerRecord < 1)
        return result;
    qsizetype position = 3;
    while (result.m_records.size() < kMaxRecords) {
        QStringList record;
        Field field;
        while (record.size() < fieldsPerRecord) {
            field = ReadField(reply, position);
            record.append(field.text);
            if (field.last)
                break;
        }
        if (record.size() < fieldsPerRecord)
            break;
        result.m_records.append(record);
        if (field.last)
            break;
    }
    return result;
}
