#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// Splits the bytes of an HTTP request head, as they arrive in reads of any size, into its lines:
// carriage returns go, blank lines before the request line are skipped, and the first blank
// line after it ends the head. Knows nothing of sockets, so any byte sequence can be fed to it.
class CHeadScanner
{
public:
    enum Result { NeedMore, Complete, TooLarge };

    // The line handler gets each line of the head without its line end.
    explicit CHeadScanner(qsizetype maxHeadBytes, std::function<void(const QByteArray &)> onLine);

    // Takes the next received bytes. Once Complete or TooLarge, the rest of the data is not
    // looked at; TooLarge as soon as the head would pass the limit, line ends included.
    Result Feed(QByteArrayView data);

    qsizetype HeadBytes() const { return m_headBytes; }

private:
    qsizetype m_maxHeadBytes;
    std::function<void(const QByteArray &)> m_onLine;
    QByteArray m_line;
    qsizetype m_headBytes = 0;
    bool m_requestLineSeen = false;
};

// "METHOD URL VERSION", the URL still percent-encoded and the version trimmed. False for a line
// without two spaces, which leaves the parts untouched.
bool ParseRequestLine(QByteArrayView line, QByteArray &method, QByteArray &url,
                      QByteArray &version);

// "Name: value": the name in lower case, the value without the blanks after the colon. False
// for a line without a colon.
bool ParseHeaderLine(QByteArrayView line, QByteArray &name, QByteArray &value);
