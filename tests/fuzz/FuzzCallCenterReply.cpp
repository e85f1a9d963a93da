// The call-center reply parser, fed whole replies, read both as assigned and as waiting lists.
#include "CallCenterReply.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView reply(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const int fields : {8, 3}) {
        const CCallCenterReply parsed = ParseCallCenterReply(reply, fields);
        FuzzCheck(parsed.m_holdsRecords || parsed.m_records.isEmpty(), "records need the form");
        FuzzCheck(parsed.m_records.size() <= kMaxRecords, "records are bounded");
        for (const QStringList &record : parsed.m_records) {
            FuzzCheck(record.size() == fields, "every record is complete");
            for (const QString &field : record)
                FuzzCheck(field.size() <= kMaxFieldBytes, "fields are bounded");
        }
    }
    return 0;
}
