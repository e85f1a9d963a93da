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

// The text of a double-quoted HTML attribute: markup characters become entities, and so do
// characters the page's Windows-1252 bytes cannot hold.
QByteArray HtmlAttributeBody(const QString &text);

// The name of the window the control window's link opens, which later pushes move.
inline constexpr char kMainWindowName[] = "VantroMain";

QByteArray GreetingPageText(const QString &controlPageName);
// An empty pushed address gives the idle page. A push that finds no main window to move sends
// the control window to the report page.
QByteArray ControlPageText(const QString &pushedAddress, int refreshSecs, bool blurOnPush,
                           const QString &reportPage);
// The control page once a push found no main window: one short line and a link that opens the
// pushed page, then sends the control window to the recover page. It keeps polling.
QByteArray LostPageText(const QString &pushedAddress, int refreshSecs, const QString &recoverPage);
// The idle control page while a chat message waits for the user: one short line and a link that
// opens the chat page from the user's click, in a window of its own. It keeps polling.
QByteArray ChatWaitingPageText(int refreshSecs, const QString &chatPage);
QByteArray LogoffPageText(const QString &logoffAddress);
QByteArray CdromPageText(const QString &contentPath, const QString &image, const QString &autoPlay,
                         const QString &playEveryFrame);
