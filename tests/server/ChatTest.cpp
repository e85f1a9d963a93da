// The chat's requests against the real server: what a user may post, what each user sees, and
// a wait answered the moment there is something to see.
#include "CChatStore.h"
#include "CPushDispatcher.h"
#include "ChatRequests.h"
#include "ServerFixture.h"
#include "Tick.h"

#include <QRegularExpression>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kAnn = u"127.0.0.2"_s;
const QString kBo = u"127.0.0.3"_s;

class ChatTest : public ServerFixture
{
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        g_chatStore.Clear();
        StartServer();
        Logon(kAnn, "?sex=Ms&alias=Ann&C=1");
        Logon(kBo, "?sex=Mr&alias=Bo&C=1");
    }
    void TearDown() override
    {
        g_chatStore.Clear();
        ServerFixture::TearDown();
    }

    // The answer to a message posted from the source in the key's chat.
    QByteArray Post(const QString &text, const QString &source, const QString &key)
    {
        const QByteArray encoded = text.toUtf8().toBase64(QByteArray::Base64UrlEncoding
                                                          | QByteArray::OmitTrailingEquals);
        return Body(Get("/VM" + key.toLatin1() + '_' + encoded + ".htm", source));
    }
    // What the user sees after the message id, times taken out.
    QByteArray Wait(const QString &key, qint64 after, const QString &source)
    {
        static const QRegularExpression time(uR"("time":"\d\d:\d\d:\d\d",)"_s);
        const QByteArray path = "/VU" + key.toLatin1() + '_' + QByteArray::number(after) + ".htm";
        return QString::fromLatin1(Body(Get(path, source))).remove(time).toLatin1();
    }
};

QByteArray Refused(CChatStore::Result result)
{
    return "{\"id\":0,\"refused\":\"" + CChatStore::RefusalText(result).toLatin1() + "\"}";
}

TEST_F(ChatTest, MessagesPastTheLimitsAreRefusedWithAClearAnswer)
{
    quint32 tick = 1000;
    SetTickSource([&tick] { return tick; });
    struct Case
    {
        const char *what;
        QString text;
        QString source;
        QString key;
        quint32 tick;
        QByteArray answer;
    };
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const Case cases[] = {
        {"1,000 characters", QString(1000, u'a'), kAnn, kAnn, 1000, R"({"id":1,"refused":""})"},
        {"1,001 characters", QString(1001, u'a'), kAnn, kAnn, 1000, Refused(CChatStore::TooLong)},
        {"1,000 characters of two UTF-16 units each", emoji.repeated(1000), kAnn, kAnn, 1000,
         R"({"id":2,"refused":""})"},
        {"a third in the same second", u"3"_s, kAnn, kAnn, 1999, R"({"id":3,"refused":""})"},
        {"a fourth in the same second", u"4"_s, kAnn, kAnn, 1999, Refused(CChatStore::TooFast)},
        {"another user in that second", u"b"_s, kBo, kBo, 1999, R"({"id":4,"refused":""})"},
        {"a second after the first", u"5"_s, kAnn, kAnn, 2000, R"({"id":5,"refused":""})"},
        {"only spaces", u"   "_s, kAnn, kAnn, 5000, Refused(CChatStore::Empty)},
        {"in another user's chat", u"x"_s, kBo, kAnn, 6000, Refused(CChatStore::WrongUser)},
        {"not logged on", u"x"_s, u"127.0.0.4"_s, u"127.0.0.4"_s, 7000,
         Refused(CChatStore::NotLoggedOn)},
    };
    for (const Case &row : cases) {
        tick = row.tick;
        EXPECT_EQ(Post(row.text, row.source, row.key), row.answer) << row.what;
    }
    EXPECT_EQ(g_chatStore.Conversation(kAnn).size(), 4);
    EXPECT_EQ(g_chatStore.Conversation(kBo).size(), 1);
    EXPECT_EQ(PostOperatorChat(kAnn, QString(1001, u'a')),
              CChatStore::RefusalText(CChatStore::TooLong));
    EXPECT_EQ(PostOperatorChat(u"127.0.0.4"_s, u"x"_s),
              CChatStore::RefusalText(CChatStore::NotLoggedOn));
}

TEST_F(ChatTest, AUserSeesItsOwnChatAndMessagesToEverybodyAsTextAndNothingElse)
{
    ASSERT_EQ(PostOperatorChat(kAnn, u"<script>alert(1)</script> & \"hi\""_s), QString());
    ASSERT_EQ(PostOperatorChat(QString(), u"to all"_s), QString());
    ASSERT_EQ(Post(u"from Bo"_s, kBo, kBo), R"({"id":3,"refused":""})");
    EXPECT_EQ(Wait(kAnn, 0, kAnn),
              R"({"messages":[{"id":1,"from":"Operator","text":"\u003cscript\u003ealert(1)\u003c/)"
              R"(script\u003e \u0026 \"hi\""},{"id":2,"from":"Operator","text":"to all"}],)"
              R"("ended":""})");
    EXPECT_EQ(Wait(kBo, 1, kBo),
              R"({"messages":[{"id":2,"from":"Operator","text":"to all"},)"
              R"({"id":3,"from":"Mr. Bo","text":"from Bo"}],"ended":""})");
    EXPECT_EQ(Wait(kAnn, 0, kBo),
              R"({"messages":[],"ended":")"
                  + CChatStore::RefusalText(CChatStore::WrongUser).toLatin1() + "\"}");
}

TEST_F(ChatTest, TheControlPageOffersTheChatUntilTheUserHasTheMessage)
{
    ASSERT_TRUE(Body(Get("/VS127.0.0.2.htm", kAnn)).contains("/welcome.htm"));
    const QByteArray idle = Body(Get("/VS127.0.0.2.htm", kAnn));
    const QByteArray otherIdle = QByteArray(idle).replace("127.0.0.2", "127.0.0.3");
    ASSERT_TRUE(idle.contains("Active...")) << idle.constData();
    ASSERT_EQ(Body(Get("/VS127.0.0.2.htm", kAnn)), idle);
    ASSERT_EQ(PostOperatorChat(kAnn, u"hello"_s), QString());
    const QByteArray offer = Body(Get("/VS127.0.0.2.htm", kAnn));
    EXPECT_TRUE(offer.contains("<A HREF=\"VT127.0.0.2.htm\" TARGET=\"VantroChat\""))
        << offer.data();
    Get("/VS127.0.0.3.htm", kBo);
    EXPECT_EQ(Body(Get("/VS127.0.0.3.htm", kBo)), otherIdle)
        << "the other user's idle page stays as it was";
    Wait(kAnn, 0, kAnn);
    EXPECT_EQ(Body(Get("/VS127.0.0.2.htm", kAnn)), idle) << "the idle page, byte for byte";
}

TEST_F(ChatTest, AWaitIsAnsweredWhenAMessageComesAndWhenTheChatEnds)
{
    ASSERT_EQ(Post(u"first"_s, kAnn, kAnn), R"({"id":1,"refused":""})");
    QTimer::singleShot(200, [] { PostOperatorChat(kAnn, u"answer"_s); });
    EXPECT_EQ(Wait(kAnn, 1, kAnn),
              R"({"messages":[{"id":2,"from":"Operator","text":"answer"}],"ended":""})")
        << "well before the hold is up";
    QTimer::singleShot(200, [] { CPushDispatcher().LogoffUser(kAnn); });
    EXPECT_EQ(Wait(kAnn, 2, kAnn),
              R"({"messages":[{"id":3,"from":"","text":"Chat ended: )"
              R"(logged off."}],"ended":"Chat ended."})");
    Logon(kAnn, "?sex=Ms&alias=Ann&C=1");
    ASSERT_EQ(PostOperatorChat(kAnn, u"welcome back"_s), QString());
    EXPECT_EQ(Wait(kAnn, 3, kAnn),
              R"({"messages":[{"id":4,"from":"Operator","text":"welcome back"}],"ended":""})")
        << "logged on again, in a new chat";
}

} // namespace
