// The session file reader: settings, favorites as object references, the address history and
// the script paths, strings in both forms.
#include "CSessionFile.h"
#include "FuzzArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto session = CheckArchiveRoundTrip<CSessionFile>(
        data, size, [](CArchive &archive, CSessionFile &file) { file.Serialize(archive); });
    if (session) {
        for (const auto &favorite : session->m_favorites)
            FuzzCheck(favorite != nullptr, "empty favorite slots are skipped");
    }
    return 0;
}
