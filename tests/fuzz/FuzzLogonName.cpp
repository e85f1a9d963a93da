// The logon query parser, fed whole request paths.
#include "FuzzCheck.h"
#include "Users.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView url(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString name = ParseLogonName(url);
    FuzzCheck(name.startsWith(u"Mr. "_s) || name.startsWith(u"Ms. "_s), "title first");
    FuzzCheck(!name.contains(u'+'), "plus signs become spaces");
    return 0;
}
