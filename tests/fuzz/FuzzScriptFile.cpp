// The script file (".vns") reader.
#include "CScriptEntry.h"
#include "FuzzArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    CheckArchiveRoundTrip<QList<CScriptEntry>>(
        data, size,
        [](CArchive &archive, QList<CScriptEntry> &entries) { SerializeScript(archive, entries); });
    return 0;
}
