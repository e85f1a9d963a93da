#include "HttpFormat.h"
#include "MessageBox.h"
#include "PrivateFiles.h"
#include "ServerFixture.h"
#include "SocketErrorBox.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimeZone>
#include <QTimer>

#include <cstdio>

#include <sys/socket.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kMeta
    = "<META HTTP-EQUIV=\"Expires\" CONTENT=\"Sunday, 24-Aug-69 00:00:00 GMT\">\n"
      "<META HTTP-EQUIV=\"pragma\" CONTENT=\"no-cache\">\n";

// The value of a header line, or an empty array.
QByteArray HeaderValue(const QByteArray &response, const QByteArray &name)
{
    for (const QByteArray &line : response.left(response.indexOf("\r\n\r\n")).split('\n')) {
        if (line.startsWith(QByteArray(name + ": ")))
            return line.mid(name.size() + 2).trimmed();
    }
    return {};
}

QByteArray RandomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char &c : bytes)
        c = static_cast<char>(generator.bounded(256));
    return bytes;
}

bool IsHttpDate(const QByteArray &value)
{
    static const QRegularExpression form(u"^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), [0-3]\\d "
                                         u"(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                         "\\d{4} [0-2]\\d:[0-5]\\d:[0-5]\\d GMT$"_s);
    return form.match(QString::fromLatin1(value)).hasMatch();
}

class HttpServerTest : public ServerFixture
{
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        StartServer();
    }
};

} // namespace

TEST(HttpFormat, DecodesPercentEscapesAndKeepsPlus)
{
    EXPECT_EQ(PercentDecode("/%41b.htm"), QByteArray("/Ab.htm"));
    EXPECT_EQ(PercentDecode("a%2Fb%7e"), QByteArray("a/b~"));
    EXPECT_EQ(PercentDecode("100%%25"), QByteArray("100%25"));
    EXPECT_EQ(PercentDecode("a+b"), QByteArray("a+b"));
    EXPECT_EQ(PercentDecode("%zz%4"), QByteArray("%zz%4"));
    EXPECT_EQ(PercentDecode("%00"), QByteArray(1, '\0'));
}

TEST(HttpFormat, FormatsDatesInEnglishWhateverTheLocale)
{
    const QDateTime time(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC);
    EXPECT_EQ(HttpDate(time), QByteArray("Sun, 06 Nov 1994 08:49:37 GMT"));
    EXPECT_EQ(HttpDate(time.toOffsetFromUtc(3600)), QByteArray("Sun, 06 Nov 1994 08:49:37 GMT"));
}

TEST_F(HttpServerTest, ServesTheLogonPageForTheRootWithNoCacheLines)
{
    const QByteArray response = Get("/");
    ASSERT_TRUE(response.startsWith("HTTP/1.0 200 OK\r\nServer: Vantro/2.0\r\nDate: "))
        << response.constData();
    EXPECT_TRUE(IsHttpDate(HeaderValue(response, "Date")));
    EXPECT_EQ(HeaderValue(response, "Content-type"), QByteArray("text/html"));
    EXPECT_TRUE(IsHttpDate(HeaderValue(response, "Last-Modified")));
    EXPECT_FALSE(response.contains("Content-Length"));
    EXPECT_EQ(Body(response), kMeta + "<p>logon</p>");
}

TEST_F(HttpServerTest, AnswersAMissingFileWithTheExactErrorPage)
{
    const QByteArray response = Get("/missing.htm");
    const QByteArray date = HeaderValue(response, "Date");
    ASSERT_TRUE(IsHttpDate(date));
    EXPECT_EQ(
        response,
        "HTTP/1.0 404 Not Found\r\nServer: Vantro/2.0\r\nDate: " + date
            + "\r\n\r\n<HTML><HEAD><H2> HTTP/1.0 404 Not Found</HEAD><BODY></BODY></HTML>\r\n");
}

TEST_F(HttpServerTest, ContentTypesAndNoCacheLinesFollowTheExtension)
{
    WriteRootFile(u"image.gif"_s, "GIF89a");
    WriteRootFile(u"data.zzqx"_s, "raw");
    WriteRootFile(u"noext"_s, "plain");
    const QByteArray gif = Get("/image.gif");
    EXPECT_EQ(HeaderValue(gif, "Content-type"), QByteArray("image/gif"));
    EXPECT_EQ(Body(gif), QByteArray("GIF89a"));
    for (const QByteArray path : {"/data.zzqx", "/noext"}) {
        const QByteArray response = Get(path);
        EXPECT_TRUE(response.startsWith("HTTP/1.0 200 OK")) << path.constData();
        EXPECT_FALSE(response.contains("Content-type")) << path.constData();
    }
    EXPECT_EQ(Body(Get("/noext")), QByteArray("plain"));
}

TEST_F(HttpServerTest, DecodesRequestPaths)
{
    WriteRootFile(u"Ab.htm"_s, "ab");
    WriteRootFile(u"sub/x~y.htm"_s, "tilde");
    WriteRootFile(u"a+b%c.htm"_s, "plus");
    EXPECT_EQ(Body(Get("/%41b.htm")), kMeta + "ab");
    EXPECT_EQ(Body(Get("/sub%2Fx%7ey.htm")), kMeta + "tilde");
    EXPECT_EQ(Body(Get("/a+b%%c.htm")), kMeta + "plus");
}

TEST_F(HttpServerTest, ServesOnlyRegularFiles)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(RootFile(u"pipe.htm"_s)).constData(), 0600), 0);
    ASSERT_TRUE(QDir(Root()).mkdir(u"folder.htm"_s));
    EXPECT_TRUE(Get("/pipe.htm").startsWith("HTTP/1.0 404 Not Found"));
    EXPECT_TRUE(Get("/folder.htm").startsWith("HTTP/1.0 404 Not Found"));
    EXPECT_TRUE(Get("/").startsWith("HTTP/1.0 200 OK")) << "a request hung the server";
}

TEST_F(HttpServerTest, SendsFilesOfEverySizeIntact)
{
    // Either side of the size where files stop being read and go by sendfile instead.
    for (const qsizetype size : {0, 1, 16 * 1024, 16 * 1024 + 1, 3 * 1024 * 1024 + 17}) {
        const QByteArray content = RandomBytes(size);
        for (const QString &name : {u"big.bin"_s, u"big.htm"_s}) {
            WriteRootFile(name, content);
            const QByteArray response = Get('/' + QFile::encodeName(name));
            const QByteArray meta = name.endsWith(u".htm"_s) ? kMeta : QByteArray();
            EXPECT_TRUE(response.startsWith("HTTP/1.0 200 OK\r\n")) << size;
            EXPECT_EQ(Body(response), meta + content) << qPrintable(name) << ' ' << size;
        }
    }
}

// The body ends where the file now ends: no hang, and no bytes but the file's own.
TEST_F(HttpServerTest, EndsTheBodyOfAFileThatShrinksWhileItIsSent)
{
    constexpr qsizetype kSize = 48 * 1024 * 1024;
    const QByteArray content = RandomBytes(kSize);
    WriteRootFile(u"shrinks.bin"_s, content);
    QTcpSocket client;
    // The client reads nothing at first, so the server is still sending when the file shrinks.
    client.setReadBufferSize(4096);
    QByteArray received;
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QTcpSocket::connected, &loop, [&] {
        client.write("GET /shrinks.bin HTTP/1.0\r\n\r\n");
        QTimer::singleShot(300, &loop, [&] {
            ASSERT_TRUE(QFile::resize(RootFile(u"shrinks.bin"_s), kSize / 8));
            received += client.readAll();
            QObject::connect(&client, &QTcpSocket::readyRead, &loop,
                             [&] { received += client.readAll(); });
        });
    });
    QObject::connect(&client, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    loop.exec();
    received += client.readAll();
    EXPECT_EQ(client.state(), QAbstractSocket::UnconnectedState) << "the response never ended";
    const QByteArray body = Body(received);
    EXPECT_GE(body.size(), kSize / 8);
    EXPECT_LT(body.size(), kSize);
    EXPECT_TRUE(body == content.left(body.size()));
}

TEST_F(HttpServerTest, RefusesPathsOutsideTheRoot)
{
    QTemporaryDir outside;
    WriteFileBytes(outside.filePath(u"secret.txt"_s), "secret");
    const QByteArray outsideName
        = QDir(Root()).relativeFilePath(outside.filePath(u"secret.txt"_s)).toUtf8();
    ASSERT_TRUE(outsideName.startsWith("../"));
    const QByteArray escapes[] = {
        '/' + outsideName,
        "/" + QByteArray(outsideName).replace("..", "%2e%2e"),
        "/" + QByteArray(outsideName).replace("../", "..%2f"),
        "//etc/passwd",
        "/../../../../../../etc/passwd",
        "/logon.htm%00.gif",
    };
    for (const QByteArray &path : escapes) {
        const QByteArray response = Get(path);
        EXPECT_FALSE(response.startsWith("HTTP/1.0 200")) << path.constData();
        EXPECT_FALSE(response.contains("secret")) << path.constData();
        EXPECT_FALSE(response.contains("root:")) << path.constData();
    }
    EXPECT_TRUE(Get("/sub/../logon.htm").startsWith("HTTP/1.0 200 OK"));
}

TEST_F(HttpServerTest, DoesNotServeTheActivityLogNorSessionOrScriptFiles)
{
    const QString before = QDir::currentPath();
    // The log's default name is relative: it lands in the root once that is the current folder.
    ASSERT_TRUE(QDir::setCurrent(Root()));
    m_options.m_logFileName = u"Vantro.log"_s;
    StartServer();
    // Served while there is no log yet: the log made afterwards must still be refused.
    EXPECT_TRUE(Get("/notes.txt").startsWith("HTTP/1.0 404"));
    for (const char *name : {"Vantro.log", "talk.vnt", "TALK.VNS", "notes.txt"})
        WriteRootFile(QString::fromLatin1(name), "private");
    ASSERT_TRUE(QFile::link(u"Vantro.log"_s, RootFile(u"link.txt"_s)));
    for (const QByteArray path :
         {"/Vantro.log", "/./Vantro.log", "/talk.vnt", "/TALK.VNS", "/link.txt"}) {
        const QByteArray response = Get(path);
        EXPECT_TRUE(response.startsWith("HTTP/1.0 404")) << path.constData();
        EXPECT_FALSE(response.contains("private")) << path.constData();
    }
    EXPECT_EQ(Body(Get("/notes.txt")), QByteArray("private"));
    // A new log file in the old one's place, and the writer saying so, as the console's does.
    WriteRootFile(u"new.log"_s, "private");
    ASSERT_EQ(std::rename(QFile::encodeName(RootFile(u"new.log"_s)).constData(),
                          QFile::encodeName(RootFile(u"Vantro.log"_s)).constData()),
              0);
    ForgetLogIdentity();
    EXPECT_TRUE(Get("/link.txt").startsWith("HTTP/1.0 404"));
    QDir::setCurrent(before);
}

TEST_F(HttpServerTest, KeepsServingWhenTheRootEndsInASeparator)
{
    m_options.m_rootFolder = Root() + u'/';
    StartServer();
    EXPECT_EQ(Body(Get("/")), kMeta + "<p>logon</p>");
    EXPECT_TRUE(Get("/../x").startsWith("HTTP/1.0 403"));
}

TEST_F(HttpServerTest, AnswersARequestSplitOverManyReadsOnceItIsComplete)
{
    QTcpSocket client;
    QByteArray received;
    QEventLoop loop;
    const QByteArray request = "GET /logon.htm HTTP/1.0\r\nUser-Agent: Slow/1.0\r\n\r\n";
    qsizetype sent = 0;
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, &loop, [&] {
        if (sent < request.size())
            client.write(request.mid(sent++, 1));
    });
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] { received += client.readAll(); });
    QObject::connect(&client, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    drip.start(2);
    loop.exec();
    EXPECT_EQ(sent, request.size()) << "answered before the request was complete";
    EXPECT_TRUE(received.startsWith("HTTP/1.0 200 OK")) << received.constData();
    EXPECT_EQ(Body(received), kMeta + "<p>logon</p>");
}

TEST_F(HttpServerTest, RefusesAnOversizedHeadWhetherItComesInOneReadOrMany)
{
    const QByteArray head = "GET / HTTP/1.0\r\nX-Filler: " + QByteArray(9000, 'x') + "\r\n\r\n";
    EXPECT_TRUE(Fetch(head).startsWith("HTTP/1.0 400 Bad Request"));

    QTcpSocket client;
    QByteArray received;
    QEventLoop loop;
    int linesSent = 0;
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, &loop, [&] {
        if (client.state() == QAbstractSocket::ConnectedState && linesSent < 400)
            client.write(linesSent++ == 0 ? "GET / HTTP/1.0\r\n"
                                          : "X-Header: 0123456789abcdef\r\n");
    });
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] { received += client.readAll(); });
    QObject::connect(&client, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    drip.start(1);
    loop.exec();
    EXPECT_TRUE(received.startsWith("HTTP/1.0 400 Bad Request")) << received.constData();
    EXPECT_LT(linesSent, 400);
}

TEST_F(HttpServerTest, AnswersHeadWithTheHeadAloneAndOtherMethodsWith501)
{
    const QByteArray head = Fetch("HEAD /logon.htm HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(head.startsWith("HTTP/1.0 200 OK"));
    EXPECT_EQ(HeaderValue(head, "Content-type"), QByteArray("text/html"));
    EXPECT_TRUE(head.endsWith("\r\n\r\n")) << head.constData();
    const QByteArray logonHead = Fetch("HEAD /?sex=Mr&alias=X&C=1 HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(logonHead.startsWith("HTTP/1.0 200 OK"));
    EXPECT_TRUE(logonHead.endsWith("\r\n\r\n")) << logonHead.constData();

    for (const QByteArray method : {"POST", "PUT", "DELETE"}) {
        const QByteArray response = Fetch(method + " /?sex=Mr&alias=X&C=1 HTTP/1.0\r\n\r\n");
        EXPECT_TRUE(response.startsWith("HTTP/1.0 501 Not Implemented")) << method.constData();
    }
    EXPECT_TRUE(Fetch("garbage\r\n\r\n").startsWith("HTTP/1.0 400 Bad Request"));
    EXPECT_TRUE(m_links.m_events.isEmpty()) << "a refused method logged somebody on";
}

TEST_F(HttpServerTest, AnswersABurstOf200ConnectionsWithinASecond)
{
    constexpr int kClients = 200;
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    int answered = 0;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kClients; ++i) {
        auto client = std::make_unique<QTcpSocket>();
        QTcpSocket *socket = client.get();
        auto received = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::connected, &loop,
                         [socket] { socket->write("GET /welcome.htm HTTP/1.0\r\n\r\n"); });
        QObject::connect(socket, &QTcpSocket::readyRead, &loop,
                         [socket, received] { *received += socket->readAll(); });
        QObject::connect(socket, &QTcpSocket::disconnected, &loop, [&, received] {
            if (received->startsWith("HTTP/1.0 200 OK") && received->endsWith("<p>welcome</p>"))
                ++answered;
            if (answered == kClients)
                loop.quit();
        });
        socket->connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
        clients.push_back(std::move(client));
    }
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(answered, kClients);
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(HttpServerTest, PeersThatResetTheirConnectionsBotherNobody)
{
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 20; ++i) {
        auto client = std::make_unique<QTcpSocket>();
        client->connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
        ASSERT_TRUE(client->waitForConnected(2000));
        client->write("GET /logon.htm HT");
        client->flush();
        clients.push_back(std::move(client));
    }
    Settle();
    for (auto &client : clients) {
        // A zero linger time makes the close a reset.
        const linger resetOnClose {1, 0};
        setsockopt(static_cast<int>(client->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                   &resetOnClose, sizeof resetOnClose);
        client->abort();
    }
    Settle();
    EXPECT_TRUE(m_messages.isEmpty()) << qPrintable(m_messages.join(u'\n'));
    EXPECT_EQ(Body(Get("/welcome.htm")), kMeta + "<p>welcome</p>");
}

TEST_F(HttpServerTest, SocketErrorsShowOneBoxAtATimeOnceTheNotificationIsOver)
{
    QList<MessageBoxRequest> shown;
    SetMessageBoxHandler([&shown](const MessageBoxRequest &request) {
        shown << request;
        ReportSocketError(u"while the box is open"_s);
        return static_cast<int>(IDOK);
    });
    ReportSocketError(u"first"_s);
    ReportSocketError(u"while the box waits"_s);
    EXPECT_TRUE(shown.isEmpty());
    Settle();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, u"first"_s);
    EXPECT_EQ(shown[0].caption, u"There was an Internet Socket Error Encountered!"_s);
    EXPECT_EQ(shown[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
    ReportSocketError(u"after the answer"_s);
    Settle();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1].text, u"after the answer"_s);
}

TEST_F(HttpServerTest, DropsAConnectionWhoseHeadDoesNotCompleteInTime)
{
    m_listener->SetHeadTimeout(200);
    QTcpSocket client;
    QByteArray received;
    bool dropped = false;
    QEventLoop loop;
    QObject::connect(&client, &QTcpSocket::connected, &loop,
                     [&] { client.write("GET /logon.htm HTTP/1.0\r\nUser-Agent: Stuck"); });
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] { received += client.readAll(); });
    QObject::connect(&client, &QTcpSocket::disconnected, &loop, [&] {
        dropped = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    loop.exec();
    EXPECT_TRUE(dropped);
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_TRUE(received.isEmpty()) << received.constData();
}
