#include "CPageSet.h"
#include "MessageBox.h"
#include "PageText.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Pages are stored with CR LF line ends; the expectations below are written with LF.
QByteArray CrLf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

const QByteArray kHead
    = "<HTML>\n"
      "<HEAD>\n"
      "<META HTTP-EQUIV=\"Expires\" CONTENT=\"Sunday, 24-Aug-69 00:00:00 GMT\">\n"
      "<META HTTP-EQUIV=\"pragma\" CONTENT=\"no-cache\">\n";

const QByteArray kControlTail = "<BR>\n"
                                "<FONT SIZE = \"-3\"></FONT>\n"
                                "\n"
                                "</BODY>\n"
                                "</HTML>\n";

QByteArray ControlHead(int refresh)
{
    return kHead + "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"" + QByteArray::number(refresh)
        + "\"></HEAD>\n<TITLE>\nVantro! Control\n</TITLE>\n<BODY>\n"
          "<B><FONT COLOR=\"#000000\">Vantro</FONT></B>";
}

class PageSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        SetMessageBoxHandler([this](const MessageBoxRequest &request) {
            m_messages << request.text;
            return static_cast<int>(IDOK);
        });
    }
    void TearDown() override { SetMessageBoxHandler({}); }

    QTemporaryDir m_root;
    QStringList m_messages;
};

} // namespace

TEST_F(PageSetTest, WritesTheIdleControlPageByteForByte)
{
    CPageSet pages;
    ASSERT_EQ(
        pages.Create(u"10.0.0.7"_s, m_root.path(), u"/welcome.htm"_s, 0, u"FALSE"_s, u"FALSE"_s),
        0);
    ASSERT_EQ(pages.WriteControlPage(QString(), 5), 1);
    const QByteArray expected = CrLf(ControlHead(5)
                                     + "\n<FONT SIZE = \"-2\"></FONT>"
                                       "<FONT Color=\"#000000\" SIZE = \"-3\">Active...</FONT>"
                                     + kControlTail);
    const QByteArray stored = ReadFileBytes(m_root.filePath(u"VS10.0.0.7.htm"_s));
    EXPECT_EQ(stored, expected);
    EXPECT_FALSE(stored.contains("SCRIPT"));
    EXPECT_FALSE(pages.IsPushing());
}

TEST_F(PageSetTest, WritesPushPagesWithAndWithoutTheBlurLine)
{
    const QByteArray pushTail = "// -->"
                                "</SCRIPT>\n"
                                "<FONT SIZE = \"-2\"></FONT>"
                                "<FONT Color=\"#FF0000\" SIZE = \"-3\">Pushing...</FONT>"
        + kControlTail;
    const QByteArray script
        = "<SCRIPT language=javascript>\n<!--\n"
          "var mainWindow = opener && !opener.closed ? opener : window.open(\"\", \"VantroMain\")\n"
          "if (mainWindow && !mainWindow.closed) {\n"
          "mainWindow.location.href = \"/news/today.htm\"\n";
    const QByteArray report = "} else location.replace(\"VX10.0.0.7.htm\")\n";
    EXPECT_EQ(ControlPageText(u"/news/today.htm"_s, 5, false, u"VX10.0.0.7.htm"_s),
              ControlHead(5) + script + report + pushTail);
    EXPECT_EQ(ControlPageText(u"/news/today.htm"_s, 3, true, u"VX10.0.0.7.htm"_s),
              ControlHead(3) + script + "this.window.blur()\n" + report + pushTail);

    // Once no main window can be found: a line, and a link that opens one from a click.
    EXPECT_EQ(LostPageText(u"http://x/?a=1&b=\"2\"<"_s, 5, u"VR10.0.0.7.htm"_s),
              ControlHead(5)
                  + "<BR>\n<FONT Color=\"#FF0000\" SIZE = \"-3\">Window closed.</FONT><BR>\n"
                    "<A HREF=\"http://x/?a=1&amp;b=&quot;2&quot;&lt;\" TARGET=\"VantroMain\" "
                    "onclick=\"window.open(this.href, 'VantroMain'); "
                    "location.replace('VR10.0.0.7.htm'); return false\">"
                    "<FONT SIZE = \"-3\">Reopen</FONT></A>\n</BODY>\n</HTML>\n");
}

TEST_F(PageSetTest, CreateWritesTheGreetingPageAndAFirstPushOfTheWelcomePage)
{
    CPageSet pages;
    ASSERT_EQ(
        pages.Create(u"10.0.0.7"_s, m_root.path(), u"/welcome.htm"_s, 1, u"FALSE"_s, u"FALSE"_s),
        0);
    EXPECT_EQ(pages.GreetingFileName(), u"VF10.0.0.7.htm"_s);
    const QByteArray features = "\"width=100,height=100,toolbar=no,location=0,directories=0,"
                                "status=0,menubar=0,scrollbars=no,resizable=0,top=0,left=0\")\n";
    const QByteArray greeting = kHead
        + "<SCRIPT language=javascript>\n<!--\n"
          "var whichBrowser = navigator.appName\n"
          "var Version = parseInt(navigator.appVersion)\n"
          "if (whichBrowser == \"Microsoft Internet Explorer\" && Version != 4) {\n"
          "window.open(\"VS10.0.0.7.htm\",\"Vantro\\nWELCOME!\\nPLEASE PRESS THE OK BUTTON TO "
          "CONTINUE\\n\\n\\n\","
        + features
        + "} else {window.onerror = null\n"
          "window.open(\"VS10.0.0.7.htm\",\"Vantro\","
        + features + "}\n// --></SCRIPT>\n</HEAD>\n</HTML>\n<BODY BGCOLOR=\"#909090\">\n</BODY>";
    EXPECT_EQ(ReadFileBytes(m_root.filePath(u"VF10.0.0.7.htm"_s)), CrLf(greeting));
    EXPECT_EQ(ReadFileBytes(m_root.filePath(u"VS10.0.0.7.htm"_s)),
              CrLf(ControlPageText(u"/welcome.htm"_s, 2, true, u"VX10.0.0.7.htm"_s)));
    EXPECT_TRUE(pages.IsPushing());
}

TEST_F(PageSetTest, WritesTheLogoffPage)
{
    CPageSet pages;
    ASSERT_EQ(
        pages.Create(u"10.0.0.7"_s, m_root.path(), u"/welcome.htm"_s, 0, u"FALSE"_s, u"FALSE"_s),
        0);
    ASSERT_EQ(pages.WriteLogoffPage(u"/logoff.htm"_s), 1);
    EXPECT_EQ(ReadFileBytes(m_root.filePath(u"VS10.0.0.7.htm"_s)),
              CrLf(kHead
                   + "</HEAD>\n<SCRIPT language=javascript>\n"
                     "opener.location.href = \"/logoff.htm\"\n"
                     "window.close()\n"
                     "</SCRIPT></HTML>\n"));
    EXPECT_TRUE(pages.IsPushing());
}

TEST_F(PageSetTest, WritesTheCdromFinderPage)
{
    const QByteArray page
        = CdromPageText(u"movies/intro.mov"_s, u"our.jpg"_s, u"TRUE"_s, u"FALSE"_s);
    QByteArray expected
        = "<HTML><HEAD>\n<TITLE>Tarvel, Inc. - CDROM Finder</TITLE>\n"
          "<META HTTP-EQUIV=\"Expires\" CONTENT=\"Sunday, 24-Aug-69 00:00:00 GMT\">\n"
          "<META HTTP-EQUIV=\"pragma\" CONTENT=\"no-cache\">\n"
          "<SCRIPT LANGUAGE=\"javascript\">\n<!-- \nvar theDrive = \"\"\n"
          "cdromDrive = new Array(7)\nvar cdrom = \"KR\"\n// -->\n</SCRIPT>\n";
    const char letters[] = "defghij";
    for (int i = 0; i < 7; ++i) {
        const QByteArray d(1, letters[i]);
        const QByteArray n = QByteArray::number(i);
        expected += "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"file:///" + d
            + "|tarvel.js\"></SCRIPT>\n"
              "<SCRIPT LANGUAGE=\"JavaScript\">\n<!--\n\tif (theDrive==\"tarvel\")\t{ cdromDrive["
            + n + "] = \"" + d + ":\" }\n\ttheDrive = \"\"\n// -->\n</SCRIPT>\n";
    }
    expected += "<SCRIPT LANGUAGE=\"JavaScript\">\n<!--\n";
    for (int i = 0; i < 7; ++i) {
        const QByteArray d(1, letters[i]);
        expected += "\tif (cdromDrive[" + QByteArray::number(i) + "]==\"" + d
            + ":\")\t{\tcdrom = \"" + d + ":\"\t}\n";
    }
    expected += "document.write (\"<BODY BACKGROUND=/our.jpg>\")\n"
                "document.write (\"<BLOCKQUOTE><P>&nbsp;<P>\")\n"
                "document.write (\"<EMBED SRC=\\\"file:///\")\n"
                "document.write (cdrom)\n"
                "document.write (\"/movies/intro.mov\\\", WIDTH=240 HEIGHT=200 AUTOPLAY=TRUE "
                "PLAYEVERYFRAME=FALSE PLUGINSPAGE=";
    ASSERT_TRUE(page.startsWith(expected)) << page.constData();
    EXPECT_TRUE(page.endsWith(">\")\ndocument.write (\"</EMBED>\")\n// -->\n</SCRIPT>\n"
                              "</BLOCKQUOTE>\n</HEAD>\n</BODY></HTML>\n"));
}

TEST_F(PageSetTest, AnAddressCannotBreakOutOfTheScript)
{
    EXPECT_EQ(ScriptStringBody(u"http://host/a b?c=1&d=%22"_s),
              QByteArray("http://host/a b?c=1&d=%22"));
    EXPECT_EQ(ScriptStringBody(u"x\";alert(1);//"_s), QByteArray("x\\\";alert(1);//"));
    EXPECT_EQ(ScriptStringBody(u"a\\\"b"_s), QByteArray("a\\\\\\\"b"));
    EXPECT_EQ(ScriptStringBody(u"a\r\nb"_s), QByteArray("a\\r\\nb"));
    EXPECT_EQ(ScriptStringBody(u"</SCRIPT><script>alert(1)</script>"_s),
              QByteArray("<\\/SCRIPT><script>alert(1)<\\/script>"));
    EXPECT_EQ(ScriptStringBody(u"caf\u00e9 \u20ac \u4e2d\u2028"_s),
              QByteArray("caf\xe9 \x80 \\u4e2d\\u2028"));

    const QByteArray page = ControlPageText(u"x\"</SCRIPT><b>"_s, 5, false, u"VX\"</a>.htm"_s);
    EXPECT_EQ(page.count("</SCRIPT>"), 1);
    EXPECT_TRUE(page.contains("mainWindow.location.href = \"x\\\"<\\/SCRIPT><b>\"\n"));
    EXPECT_TRUE(page.contains("location.replace(\"VX\\\"<\\/a>.htm\")"));
}

TEST_F(PageSetTest, NamesFilesUnderARootEndingInASeparatorAndRemovesThemOnRelease)
{
    const QString root = m_root.path() + u'/';
    {
        CPageSet pages;
        ASSERT_EQ(
            pages.Create(u"192.168.1.20"_s, root, u"/welcome.htm"_s, 0, u"FALSE"_s, u"FALSE"_s), 0);
        EXPECT_EQ(pages.ControlFile(), root + u"/VS192.168.1.20.htm"_s);
        EXPECT_EQ(pages.GreetingFile(), root + u"/VF192.168.1.20.htm"_s);
        EXPECT_EQ(pages.CdromFile(), root + u"/VC192.168.1.20.htm"_s);
        EXPECT_TRUE(QFile::exists(m_root.filePath(u"VS192.168.1.20.htm"_s)));
        EXPECT_TRUE(QFile::exists(m_root.filePath(u"VF192.168.1.20.htm"_s)));
        EXPECT_FALSE(QFile::exists(m_root.filePath(u"VC192.168.1.20.htm"_s)));
    }
    EXPECT_TRUE(QDir(m_root.path()).entryList(QDir::Files).isEmpty());

    {
        CPageSet pages;
        ASSERT_EQ(
            pages.Create(u"192.168.1.20"_s, root, u"/welcome.htm"_s, 0, u"FALSE"_s, u"FALSE"_s), 0);
        ASSERT_EQ(pages.WriteCdromPage(u"a.mov"_s, u"our.jpg"_s), 1);
        EXPECT_TRUE(QFile::exists(m_root.filePath(u"VC192.168.1.20.htm"_s)));
    }
    EXPECT_TRUE(QDir(m_root.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PageSetTest, AFailedWriteIsShownWithTheFileErrorAndKeepsThePages)
{
    ASSERT_TRUE(QDir(m_root.path()).mkdir(u"VF10.0.0.9.htm"_s));
    {
        CPageSet pages;
        EXPECT_NE(pages.Create(u"10.0.0.9"_s, m_root.path(), u"/welcome.htm"_s, 0, u"FALSE"_s,
                               u"FALSE"_s),
                  0);
        QCoreApplication::sendPostedEvents(); // the box comes once the caller is done
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages.front().startsWith(
            u"Access to %1 was denied.\n\n1 page could not be written."_s.arg(
                pages.GreetingFile())))
            << qPrintable(m_messages.front());
    }
    EXPECT_TRUE(QFile::exists(m_root.filePath(u"VS10.0.0.9.htm"_s)))
        << "pages whose writing failed are left for the operator";

    CPageSet missing;
    EXPECT_NE(missing.Create(u"10.0.0.9"_s, m_root.filePath(u"no/such/folder"_s), u"/w.htm"_s, 0,
                             u"FALSE"_s, u"FALSE"_s),
              0);
    QCoreApplication::sendPostedEvents();
    // The control page was written in between: both failures here are a new episode, one box.
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_messages[1].contains(u"2 pages could not be written."_s))
        << qPrintable(m_messages[1]);
}
