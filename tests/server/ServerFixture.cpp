#include "ServerFixture.h"

#include "CPushDispatcher.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "LateJoiners.h"
#include "MessageBox.h"
#include "TestSupport.h"
#include "Tick.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

void CRecordingLinks::AddActivity(const QString &user, const QString &address, bool sent)
{
    m_events << u"activity %1 %2 %3"_s.arg(user, address, sent ? u"Sent"_s : u"Pushing"_s);
}

void CRecordingLinks::MarkSent(const QString &address)
{
    m_events << u"sent "_s + address;
}

void CRecordingLinks::MarkNotDelivered(const QString &user, const QString &address)
{
    m_events << u"not delivered %1 %2"_s.arg(user, address);
}

void CRecordingLinks::MarkUnfetched(const QString &user, const QString &address, Unfetched why)
{
    m_events << u"%1 %2 %3"_s.arg(why == Unfetched::Superseded ? u"superseded"_s : u"timed out"_s,
                                  user, address);
}

void CRecordingLinks::UpdateUser(const CUserInfo &user)
{
    m_events << u"state %1 %2 %3"_s.arg(user.m_name, user.m_address).arg(user.m_state);
}

void CRecordingLinks::AddUser(CUserInfo *user)
{
    m_events << u"added %1 %2"_s.arg(user->m_name, user->m_address);
    delete user;
}

void CRecordingLinks::RemoveUser(const CUserInfo &user)
{
    m_events << u"removed %1 %2"_s.arg(user.m_name, user.m_address);
}

void ServerFixture::SetUp()
{
    ASSERT_TRUE(m_root.isValid());
    WriteRootFile(u"logon.htm"_s, "<p>logon</p>");
    WriteRootFile(u"welcome.htm"_s, "<p>welcome</p>");
    WriteRootFile(u"busy.htm"_s, "<p>busy</p>");
    WriteRootFile(u"logoff.htm"_s, "<p>logoff</p>");
    m_options.m_rootFolder = m_root.path();
    m_options.m_port = 0;
    // Polls are answered at once unless a test holds them on purpose.
    m_options.m_instantDelivery = 0;
    g_pActivityLink = &m_links;
    g_pUserLink = &m_links;
    CPushDispatcher::lastPushedAddress.clear();
    ForgetLastPushToAll();
    SetMessageBoxHandler([this](const MessageBoxRequest &request) {
        m_messages << request.text;
        return static_cast<int>(IDOK);
    });
}

void ServerFixture::TearDown()
{
    {
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }
    m_listener.reset();
    Settle();
    g_pActivityLink = nullptr;
    g_pUserLink = nullptr;
    SetMessageBoxHandler({});
    SetTickSource({});
}

void ServerFixture::WriteRootFile(const QString &name, const QByteArray &bytes) const
{
    ASSERT_TRUE(WriteFileBytes(m_root.filePath(name), bytes));
}

void ServerFixture::StartServer()
{
    m_listener = std::make_unique<CListenSocket>(m_options);
    ASSERT_EQ(m_listener->Start(0), CListenSocket::Listening);
}

QByteArray ServerFixture::Fetch(const QByteArray &request, const QString &source)
{
    QTcpSocket client;
    QByteArray received;
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QTcpSocket::connected, &loop, [&] { client.write(request); });
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] { received += client.readAll(); });
    QObject::connect(&client, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    client.bind(QHostAddress(source));
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    loop.exec();
    received += client.readAll();
    Settle();
    return received;
}

QByteArray ServerFixture::Get(const QByteArray &path, const QString &source)
{
    return Fetch("GET " + path + " HTTP/1.0\r\nUser-Agent: Test/1.0\r\n\r\n", source);
}

QByteArray ServerFixture::Body(const QByteArray &response)
{
    const qsizetype end = response.indexOf("\r\n\r\n");
    return end < 0 ? response : response.mid(end + 4);
}

QByteArray ServerFixture::Logon(const QString &source, const QByteArray &query)
{
    return Get('/' + query, source);
}

void ServerFixture::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}
