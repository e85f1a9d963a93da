// The request head scanner and the request-line and header-line parsers. The first byte chooses
// how the rest is split into reads: the lines and the outcome must not depend on it.
#include "CRequestSocket.h"
#include "FuzzCheck.h"
#include "HttpHead.h"

#include <QList>

namespace {

struct SScan
{
    QList<QByteArray> m_lines;
    CHeadScanner::Result m_result = CHeadScanner::NeedMore;
};

SScan Scan(QByteArrayView data, qsizetype readSize)
{
    SScan scan;
    CHeadScanner scanner(CRequestSocket::kMaxHeadBytes,
                         [&scan](const QByteArray &line) { scan.m_lines.append(line); });
    for (qsizetype at = 0; at < data.size() && scan.m_result == CHeadScanner::NeedMore;
         at += readSize)
        scan.m_result = scanner.Feed(data.sliced(at, std::min(readSize, data.size() - at)));
    FuzzCheck(scanner.HeadBytes() <= CRequestSocket::kMaxHeadBytes + 1, "head bytes bounded");
    return scan;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    const SScan whole = Scan(bytes, std::max<qsizetype>(bytes.size(), 1));
    const SScan split = Scan(bytes, data[0] % 16 + 1);
    FuzzCheck(whole.m_result == split.m_result, "outcome independent of reads");
    FuzzCheck(whole.m_lines == split.m_lines, "lines independent of reads");
    for (const QByteArray &line : whole.m_lines) {
        FuzzCheck(!line.isEmpty() && !line.contains('\n') && !line.contains('\r'), "clean line");
        QByteArray method, url, version, name, value;
        if (ParseRequestLine(line, method, url, version))
            FuzzCheck(!method.contains(' ') && !url.contains(' '), "request line parts");
        if (ParseHeaderLine(line, name, value))
            FuzzCheck(name == name.toLower() && !name.contains(':'), "header name");
    }
    return 0;
}
