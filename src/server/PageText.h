#pragma once

#include <QByteArray>
#include <QString>

// The bytes of the generated per-user pages, with "\n" line ends (the writer stores them as
// "\r\n"). Pure functions, so that every page can be compared byte for byte.

// The body of a double-quoted script string holding the text. Quotes, backslashes, line ends
// and "</" or "<!" are escaped, so that no address can end the string or the script element;
// characters the page's Windows-1252 bytes cannot hold become \u escapes. Any other text keeps
// its exact bytes.
QByteArray ScriptStringBody(const QString &text);

QByteArray GreetingPageText(const QString &controlPageName);
// An empty pushed address gives the idle page.
QByteArray ControlPageText(const QString &pushedAddress, int refreshSecs, bool blurOnPush);
QByteArray LogoffPageText(const QString &logoffAddress);
QByteArray CdromPageText(const QString &contentPath, const QString &image, const QString &autoPlay,
                         const QString &playEveryFrame);
