// The drag format of a script entry, as another program may offer it.
#include "CScriptEntry.h"
#include "FuzzArchive.h"

#include <QMimeData>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    CheckArchiveRoundTrip<CScriptEntry>(
        data, size, [](CArchive &archive, CScriptEntry &entry) { entry.Serialize(archive); });
    QMimeData dropped;
    dropped.setData(CScriptEntry::kEntryFormat,
                    QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const std::optional<CScriptEntry> entry = CScriptEntry::FromMimeData(&dropped);
    if (entry) {
        const std::unique_ptr<QMimeData> offered(entry->MakeMimeData());
        FuzzCheck(CScriptEntry::FromMimeData(offered.get()) == entry, "drag form round trip");
    }
    return 0;
}
