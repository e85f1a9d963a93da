// The percent-decoder and the mapping of a request path onto the root folder: nothing may lead
// out of the root.
#include "FuzzCheck.h"
#include "HttpFormat.h"

#include <QString>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray decoded = PercentDecode(bytes);
    FuzzCheck(decoded.size() <= bytes.size(), "decoding never grows");
    if (!bytes.contains('%'))
        FuzzCheck(decoded == bytes, "text without escapes stays");
    for (const QString &root : {u"/srv/root"_s, u"/srv/root/"_s}) {
        const QString path = MapRequestPath(root, decoded);
        if (path.isEmpty())
            continue;
        FuzzCheck(path == u"/srv/root"_s || path.startsWith(u"/srv/root/"_s), "inside the root");
        FuzzCheck(!path.contains(u"/../"_s) && !path.endsWith(u"/.."_s), "no parent step");
    }
    return 0;
}
