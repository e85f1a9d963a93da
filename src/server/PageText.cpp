#include "PageText.h"

#include "ChatPageText.h"
#include "Cp1252.h"

#include <QList>

namespace {

constexpr char kMetaLines[] = "<META HTTP-EQUIV=\"Expires\" CONTENT=\"Sunday, 24-Aug-69 00:00:00 "
                              "GMT\">\n"
                              "<META HTTP-EQUIV=\"pragma\" CONTENT=\"no-cache\">\n";

constexpr char kWindowFeatures[] = "\"width=100,height=100,toolbar=no,"
                                   "location=0,directories=0,status=0,menubar=0,scrollbars=no,"
                                   "resizable=0,top=0,left=0\")\n";

QByteArray UnicodeEscape(char16_t unit)
{
    return "\\u" + QByteArray::number(unit, 16).rightJustified(4, '0');
}

// The probe and the selection of one drive letter of the CD-ROM finder page.
QByteArray DriveProbe(char letter, int index)
{
    const QByteArray drive(1, letter);
    const QByteArray slot = QByteArray::number(index);
    return "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"file:///" + drive
        + "|tarvel.js\"></SCRIPT>\n"
          "<SCRIPT LANGUAGE=\"JavaScript\">\n"
          "<!--\n"
          "\tif (theDrive==\"tarvel\")\t{ cdromDrive["
        + slot + "] = \"" + drive + ":\" }\n" + "\ttheDrive = \"\"\n" + "// -->\n" + "</SCRIPT>\n";
}

QByteArray DriveSelection(char letter, int index)
{
    const QByteArray drive(1, letter);
    return "\tif (cdromDrive[" + QByteArray::number(index) + "]==\"" + drive + ":\")\t{\tcdrom = \""
        + drive + ":\"\t}\n";
}

QByteArray ControlHeadText(int refreshSecs)
{
    return QByteArray("<HTML>\n<HEAD>\n") + kMetaLines + "<META HTTP-EQUIV=\"Refresh\" CONTENT=\""
        + QByteArray::number(refreshSecs)
        + "\">"
          "</HEAD>\n"
          "<TITLE>\n"
          "Vantro! Control\n"
          "</TITLE>\n"
          "<BODY>\n"
          "<B><FONT COLOR=\"#000000\">Vantro</FONT></B>";
}

} // namespace

QByteArray ScriptStringBody(const QString &text)
{
    QByteArray body;
    body.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (c == u'\\' || c == u'"')
            body += '\\' + QByteArray(1, static_cast<char>(c.unicode()));
        else if (c == u'\n')
            body += "\\n";
        else if (c == u'\r')
            body += "\\r";
        else if (c == u'<' && (next == u'/' || next == u'!'))
            body += "<\\";
        else if (c == QChar(0x2028) || c == QChar(0x2029) || !CanEncodeCp1252(QStringView(&c, 1)))
            body += UnicodeEscape(c.unicode());
        else
            body += ToCp1252(QStringView(&c, 1));
    }
    return body;
}

QByteArray GreetingPageText(const QString &controlPageName)
{
    const QByteArray control = ScriptStringBody(controlPageName);
    return QByteArray("<HTML>\n<HEAD>\n") + kMetaLines
        + "<SCRIPT language=javascript>\n"
          "<!--\n"
          "var whichBrowser = navigator.appName\n"
          "var Version = parseInt(navigator.appVersion)\n"
          "if (whichBrowser == \"Microsoft Internet Explorer\" && Version != 4) {\n"
          "window.open(\""
        + control + "\",\"Vantro\\nWELCOME!\\nPLEASE PRESS THE OK BUTTON TO CONTINUE\\n\\n\\n\","
        + kWindowFeatures
        + "} else {"
          "window.onerror = null\n"
          "window.open(\""
        + control + "\",\"Vantro\"," + kWindowFeatures
        + "}\n"
          "// -->"
          "</SCRIPT>\n"
          "</HEAD>\n"
          "</HTML>\n"
          "<BODY BGCOLOR=\"#909090\">\n"
          "</BODY>";
}

// One reference per code point: a character outside the basic plane written as its two
// surrogate halves would show as two replacement characters. A lone half becomes U+FFFD.
QByteArray HtmlAttributeBody(const QString &text)
{
    QByteArray body;
    for (const uint unit : text.toUcs4()) {
        const char32_t codePoint = unit;
        const QString c = QString::fromUcs4(&codePoint, 1);
        if (codePoint == U'&')
            body += "&amp;";
        else if (codePoint == U'"')
            body += "&quot;";
        else if (codePoint == U'<')
            body += "&lt;";
        else if (codePoint == U'>')
            body += "&gt;";
        else if (!CanEncodeCp1252(c))
            body += "&#" + QByteArray::number(static_cast<quint32>(codePoint)) + ';';
        else
            body += ToCp1252(c);
    }
    return body;
}

QByteArray ControlPageText(const QString &pushedAddress, int refreshSecs, bool blurOnPush,
                           const QString &reportPage)
{
    QByteArray page = ControlHeadText(refreshSecs);
    if (pushedAddress.isEmpty()) {
        page += "\n"
                "<FONT SIZE = \"-2\"></FONT>"
                "<FONT Color=\"#000000\" SIZE = \"-3\">Active...</FONT>";
    } else {
        // Without its opener (closed, or cut off by the page it shows) the control window moves
        // the window its link opened, found by name; failing that it tells the server.
        page += "<SCRIPT language=javascript>\n"
                "<!--\n"
                "var mainWindow = opener && !opener.closed ? opener : window.open(\"\", \""
            + QByteArray(kMainWindowName)
            + "\")\n"
              "if (mainWindow && !mainWindow.closed) {\n"
              "mainWindow.location.href = \""
            + ScriptStringBody(pushedAddress) + "\"\n";
        if (blurOnPush)
            page += "this.window.blur()\n";
        page += "} else location.replace(\"" + ScriptStringBody(reportPage) + "\")\n";
        page += "// -->"
                "</SCRIPT>"
                "\n"
                "<FONT SIZE = \"-2\"></FONT>"
                "<FONT Color=\"#FF0000\" SIZE = \"-3\">Pushing...</FONT>";
    }
    return page
        + "<BR>\n"
          "<FONT SIZE = \"-3\"></FONT>\n"
          "\n"
          "</BODY>\n"
          "</HTML>\n";
}

QByteArray LostPageText(const QString &pushedAddress, int refreshSecs, const QString &recoverPage)
{
    // The link opens the page from a click, which popup blockers let through, in a window with
    // a name the following pushes can find.
    return ControlHeadText(refreshSecs)
        + "<BR>\n"
          "<FONT Color=\"#FF0000\" SIZE = \"-3\">Window closed.</FONT><BR>\n"
          "<A HREF=\""
        + HtmlAttributeBody(pushedAddress) + "\" TARGET=\"" + kMainWindowName
        + "\" onclick=\"window.open(this.href, '" + kMainWindowName + "'); location.replace('"
        + HtmlAttributeBody(recoverPage)
        + "'); return false\">"
          "<FONT SIZE = \"-3\">Reopen</FONT></A>\n"
          "</BODY>\n"
          "</HTML>\n";
}

QByteArray ChatWaitingPageText(int refreshSecs, const QString &chatPage)
{
    return ControlHeadText(refreshSecs)
        + "<BR>\n"
          "<FONT Color=\"#FF0000\" SIZE = \"-3\">New message.</FONT><BR>\n"
          "<A HREF=\""
        + HtmlAttributeBody(chatPage) + "\" TARGET=\"" + kChatWindowName
        + "\" onclick=\"window.open(this.href, '" + kChatWindowName
        + "', 'width=420,height=480,resizable=1,scrollbars=1'); return false\">"
          "<FONT SIZE = \"-3\">Chat</FONT></A>\n"
          "</BODY>\n"
          "</HTML>\n";
}

QByteArray LogoffPageText(const QString &logoffAddress)
{
    return QByteArray("<HTML>\n<HEAD>\n") + kMetaLines
        + "</HEAD>\n"
          "<SCRIPT language=javascript>\n"
          "opener.location.href = \""
        + ScriptStringBody(logoffAddress)
        + "\"\n"
          "window.close()\n"
          "</SCRIPT>"
          "</HTML>\n";
}

QByteArray CdromPageText(const QString &contentPath, const QString &image, const QString &autoPlay,
                         const QString &playEveryFrame)
{
    static constexpr char kLetters[] = "defghij";
    QByteArray page = QByteArray("<HTML><HEAD>\n"
                                 "<TITLE>Tarvel, Inc. - CDROM Finder</TITLE>\n")
        + kMetaLines
        + "<SCRIPT LANGUAGE=\"javascript\">\n"
          "<!-- \n"
          "var theDrive = \"\"\n"
          "cdromDrive = new Array(7)\n"
          "var cdrom = \"KR\"\n"
          "// -->\n"
          "</SCRIPT>\n";
    for (int index = 0; index < 7; ++index)
        page += DriveProbe(kLetters[index], index);
    page += "<SCRIPT LANGUAGE=\"JavaScript\">\n"
            "<!--\n";
    for (int index = 0; index < 7; ++index)
        page += DriveSelection(kLetters[index], index);
    return page + "document.write (\"<BODY BACKGROUND=/" + ScriptStringBody(image)
        + ">\")\n"
          "document.write (\"<BLOCKQUOTE><P>&nbsp;<P>\")\n"
          "document.write (\"<EMBED SRC=\\\"file:///\")\n"
          "document.write (cdrom)\n"
          "document.write (\"/"
        + ScriptStringBody(contentPath) + "\\\", WIDTH=240 HEIGHT=200 AUTOPLAY="
        + ScriptStringBody(autoPlay) + " PLAYEVERYFRAME=" + ScriptStringBody(playEveryFrame)
        + " PLUGINSPAGE=http://www.apple.com/quicktime/download/>\")\n"
          "document.write (\"</EMBED>\")\n"
          "// -->\n"
          "</SCRIPT>\n"
          "</BLOCKQUOTE>\n"
          "</HEAD>\n"
          "</BODY></HTML>\n";
}
