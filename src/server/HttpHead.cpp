#include "HttpHead.h"

CHeadScanner::CHeadScanner(qsizetype maxHeadBytes, std::function<void(const QByteArray &)> onLine)
    : m_maxHeadBytes(maxHeadBytes)
    , m_onLine(std::move(onLine))
{ }

CHeadScanner::Result CHeadScanner::Feed(QByteArrayView data)
{
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype newline = data.indexOf('\n', start);
        const qsizetype end = newline < 0 ? data.size() : newline;
        const qsizetype taken = (newline < 0 ? end : end + 1) - start;
        if (m_headBytes + taken > m_maxHeadBytes) {
            m_headBytes = m_maxHeadBytes + 1;
            return TooLarge;
        }
        m_headBytes += taken;
        const QByteArrayView piece = data.sliced(start, end - start);
        m_line += piece;
        if (piece.contains('\r'))
            m_line.removeIf([](char c) { return c == '\r'; });
        start += taken;
        if (newline < 0)
            break;
        // Blank lines before the request line are tolerated, as browsers may send them.
        if (m_line.isEmpty() && m_requestLineSeen)
            return Complete;
        if (!m_line.isEmpty()) {
            m_requestLineSeen = true;
            m_onLine(std::exchange(m_line, {}));
        }
    }
    return NeedMore;
}

bool ParseRequestLine(QByteArrayView line, QByteArray &method, QByteArray &url, QByteArray &version)
{
    const qsizetype space = line.indexOf(' ');
    const QByteArrayView rest = line.sliced(space + 1).trimmed();
    const qsizetype second = rest.indexOf(' ');
    if (space < 0 || second < 0)
        return false;
    method = line.first(space).toByteArray();
    version = rest.sliced(second + 1).trimmed().toByteArray();
    url = rest.first(second).toByteArray();
    return true;
}

bool ParseHeaderLine(QByteArrayView line, QByteArray &name, QByteArray &value)
{
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return false;
    QByteArrayView rest = line.sliced(colon + 1);
    while (!rest.isEmpty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest = rest.sliced(1);
    name = line.first(colon).toByteArray().toLower();
    value = rest.toByteArray();
    return true;
}
