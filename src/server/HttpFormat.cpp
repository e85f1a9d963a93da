#include "HttpFormat.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <cstring>

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

QByteArray StatusText(int code)
{
    switch (code) {
    case 200:
        return "200 OK";
    case 201:
        return "201 Created";
    case 202:
        return "202 Accepted";
    case 204:
        return "204 No Content";
    case 301:
        return "301 Moved Permanently";
    case 302:
        return "302 Redirection";
    case 304:
        return "304 Not Modified";
    case 400:
        return "400 Bad Request";
    case 401:
        return "401 Unauthorized";
    case 403:
        return "403 Forbidden";
    case 404:
        return "404 Not Found";
    case 501:
        return "501 Not Implemented";
    case 502:
        return "502 Bad Gateway";
    case 503:
        return "503 Service Unavailable";
    default:
        return "500 Internal Server Error";
    }
}

QByteArray HttpDate(const QDateTime &time)
{
    static const char days[] = "MonTueWedThuFriSatSun";
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const QDateTime utc = time.timeSpec() == Qt::UTC ? time : time.toUTC();
    const QDate date = utc.date();
    const QTime clock = utc.time();
    // Written in place: this runs twice for every response.
    QByteArray text("Ddd, 00 Mmm 0000 00:00:00 GMT");
    char *out = text.data();
    const auto put2 = [](char *at, int value) {
        at[0] = static_cast<char>('0' + value / 10 % 10);
        at[1] = static_cast<char>('0' + value % 10);
    };
    std::memcpy(out, days + 3 * (date.dayOfWeek() - 1), 3);
    put2(out + 5, date.day());
    std::memcpy(out + 8, months + 3 * (date.month() - 1), 3);
    put2(out + 12, date.year() / 100);
    put2(out + 14, date.year());
    put2(out + 17, clock.hour());
    put2(out + 20, clock.minute());
    put2(out + 23, clock.second());
    return text;
}

QByteArray HeaderLine(QByteArrayView name, QByteArrayView value)
{
    return name.toByteArray() + ": " + value.toByteArray() + "\r\n";
}

QByteArray CurrentHttpDate()
{
    thread_local qint64 second = -1;
    thread_local QByteArray text;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (now != second) {
        second = now;
        text = HttpDate(QDateTime::fromSecsSinceEpoch(now, Qt::UTC));
    }
    return text;
}

QByteArray StatusHead(int code, QByteArrayView date)
{
    return "HTTP/1.0 " + StatusText(code) + "\r\n" + HeaderLine("Server", "Vantro/2.0")
        + HeaderLine("Date", date);
}

QByteArray ErrorResponse(int code, QByteArrayView date)
{
    return StatusHead(code, date) + "\r\n<HTML><HEAD><H2> HTTP/1.0 " + StatusText(code)
        + "</HEAD><BODY></BODY></HTML>\r\n";
}

QByteArray RetryLaterResponse(int seconds, QByteArrayView date)
{
    const QByteArray after = QByteArray::number(seconds);
    return StatusHead(503, date) + HeaderLine("Refresh", after)
        + "\r\n<HTML><HEAD><META HTTP-EQUIV=\"Refresh\" CONTENT=\"" + after + "\"><H2> HTTP/1.0 "
        + StatusText(503) + "</HEAD><BODY></BODY></HTML>\r\n";
}

QByteArrayView NoCacheMetaLines()
{
    return "<META HTTP-EQUIV=\"Expires\" CONTENT=\"Sunday, 24-Aug-69 00:00:00 GMT\">\n"
           "<META HTTP-EQUIV=\"pragma\" CONTENT=\"no-cache\">\n";
}

QByteArrayView PathWithoutQuery(QByteArrayView url)
{
    const qsizetype query = url.indexOf('?');
    return query < 0 ? url : url.first(query);
}

QByteArray PercentDecode(QByteArrayView text)
{
    QByteArray decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            decoded += '%';
            ++i;
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0
                   && HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

QString MapRequestPath(const QString &root, QByteArrayView url)
{
    const QString requested = QFile::decodeName(url.toByteArray()).replace(u'\\', u'/');
    const QString path = QDir::cleanPath(root + u'/' + requested);
    const QString rootPrefix = root.endsWith(u'/') ? root : root + u'/';
    if (path != root && !path.startsWith(rootPrefix))
        return {};
    return path;
}
