// The activity log: written only while a session exists, CR LF on disk, silent on failure.
#include "CChatHub.h"
#include "CDozoZedDoc.h"
#include "CLogFile.h"
#include "ConsoleFixture.h"
#include "TestSupport.h"

using namespace Qt::StringLiterals;

namespace {

class LogFile : public ConsoleFixture
{
protected:
    void SetUp() override
    {
        ConsoleFixture::SetUp();
        m_document = std::make_unique<CDozoZedDoc>();
        ASSERT_EQ(g_pSessionDoc, m_document.get());
    }
    void TearDown() override
    {
        m_document.reset();
        ConsoleFixture::TearDown();
    }

    std::unique_ptr<CDozoZedDoc> m_document;
};

TEST_F(LogFile, LinesEndInCrLfAndAppend)
{
    CLogFile log;
    log.Write(u"User = 127.0.0.2, Pushed = /welcome.htm\n"_s);
    log.Write(u"caf\u00e9\n"_s);
    EXPECT_EQ(LogBytes(), QByteArray("User = 127.0.0.2, Pushed = /welcome.htm\r\ncaf\xe9\r\n"));
}

TEST_F(LogFile, EveryChatMessageIsOneLineWithItsLineBreaksAndTabsAsSpaces)
{
    CChatHub hub;
    const auto message
        = [&hub](const QString &key, CChatMessage::Sender sender, const QString &text) {
              CChatMessage chat;
              chat.m_key = key;
              chat.m_sender = sender;
              chat.m_senderName = u"Ms. Ann"_s;
              chat.m_text = text;
              hub.OnChatMessage(chat);
          };
    message(u"127.0.0.2"_s, CChatMessage::User, u"a\r\nb\tc <script>\u00e9"_s);
    message(u"127.0.0.2"_s, CChatMessage::Operator, u"to you"_s);
    message(QString(), CChatMessage::Operator, u"to all\n"_s);
    message(u"127.0.0.2"_s, CChatMessage::Notice, u"Chat ended: timed out."_s);
    EXPECT_EQ(LogBytes(),
              QByteArray("User = 127.0.0.2, Chat = a  b c <script>\xe9\r\n"
                         "User = Operator to 127.0.0.2, Chat = to you\r\n"
                         "User = Operator to All Clients, Chat = to all \r\n"));
}

TEST_F(LogFile, ClearEmptiesAnExistingFileAndLeavesAMissingOneMissing)
{
    CLogFile log;
    log.Clear();
    EXPECT_FALSE(QFile::exists(Path(u"Vantro.log"_s)));
    log.Write(u"x\n"_s);
    log.Clear();
    EXPECT_TRUE(QFile::exists(Path(u"Vantro.log"_s)));
    EXPECT_EQ(LogBytes(), QByteArray());
}

TEST_F(LogFile, BackslashesInTheSettingAreFolders)
{
    ASSERT_TRUE(QDir().mkdir(Path(u"logs"_s)));
    m_document->m_options.m_logFileName = u"logs\\day.log"_s;
    CLogFile().Write(u"x\n"_s);
    EXPECT_EQ(LogBytes(u"logs/day.log"_s), QByteArray("x\r\n"));
}

TEST_F(LogFile, FolderThatDoesNotExistGivesNoFileAndNoBox)
{
    m_document->m_options.m_logFileName = Path(u"absent/x.log"_s);
    CLogFile().Write(u"x\n"_s);
    CLogFile().Clear();
    EXPECT_FALSE(QFile::exists(Path(u"absent"_s)));
    EXPECT_TRUE(m_boxes.isEmpty());
}

TEST_F(LogFile, WithoutASessionNothingIsTouched)
{
    ASSERT_TRUE(WriteFileBytes(Path(u"Vantro.log"_s), "kept"));
    m_document.reset();
    ASSERT_EQ(g_pSessionDoc, nullptr);
    CLogFile log;
    log.Write(u"x\n"_s);
    log.Clear();
    EXPECT_EQ(LogBytes(), QByteArray("kept"));
}

} // namespace
