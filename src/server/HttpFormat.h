#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The byte forms of the HTTP/1.0 responses the server writes. Pure functions, so that they can
// be checked byte for byte.

// "404 Not Found" and the like; unknown codes give "500 Internal Server Error".
QByteArray StatusText(int code);

// A time in UTC as "Sun, 06 Nov 1994 08:49:37 GMT", with English names whatever the locale.
QByteArray HttpDate(const QDateTime &time);

// HttpDate of the current time; the text is made at most once a second for each thread.
QByteArray CurrentHttpDate();

// "Name: value\r\n".
QByteArray HeaderLine(QByteArrayView name, QByteArrayView value);

// The status line and the fixed Server and Date headers, with the date as HttpDate gives it.
QByteArray StatusHead(int code, QByteArrayView date);

// A complete error response: head, blank line and the small HTML body.
QByteArray ErrorResponse(int code, QByteArrayView date);

// "503 Service Unavailable" asking the browser to ask again after the seconds, in a Refresh
// header and in the body's META line, so that a control window answered with it keeps polling.
QByteArray RetryLaterResponse(int seconds, QByteArrayView date);

// The two lines in front of every HTML file, so that browsers never show a cached copy.
QByteArrayView NoCacheMetaLines();

// A request URL up to its query, the part after the first "?".
QByteArrayView PathWithoutQuery(QByteArrayView url);

// "%%" gives "%", "%" and two hex digits the byte they denote; "+" and anything else stay.
QByteArray PercentDecode(QByteArrayView text);

// The file a decoded request path names under the root folder, with backslashes taken as
// slashes and "." and ".." resolved; empty when the path leaves the root.
QString MapRequestPath(const QString &root, QByteArrayView url);
