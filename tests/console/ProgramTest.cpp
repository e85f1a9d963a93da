// The program itself: a file named on the command line is not opened, while "--open" from the
// file manager hands the file to the console already running.
#include "CSessionFile.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class Program : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        m_port = probe.serverPort();
        probe.close();
        CSessionFile file;
        file.m_options.m_port = m_port;
        file.m_options.m_rootFolder = m_dir.path();
        ASSERT_EQ(file.SaveSessionFile(m_dir.filePath(u"s.vnt"_s)), QString());
    }
    void TearDown() override
    {
        for (QProcess *process : {&m_console, &m_opener}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    // A console of its own: own profile, own runtime folder, off screen, in the test folder.
    void Start(QProcess &process, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"HOME"_s, m_dir.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, m_dir.filePath(u"config"_s));
        environment.insert(u"XDG_DATA_HOME"_s, m_dir.filePath(u"data"_s));
        environment.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir.path());
        process.start(QString::fromUtf8(VANTRO_PROGRAM), arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }
    bool SessionListens(int waitMs) const
    {
        const QDeadlineTimer deadline(waitMs);
        do {
            QTcpSocket client;
            client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(m_port));
            if (client.waitForConnected(200))
                return true;
            QThread::msleep(100);
        } while (!deadline.hasExpired());
        return false;
    }

    QTemporaryDir m_dir;
    int m_port = 0;
    QProcess m_console;
    QProcess m_opener;
};

TEST_F(Program, FileOnThePlainCommandLineIsNotOpenedButOneFromTheFileManagerIs)
{
    const QString file = m_dir.filePath(u"s.vnt"_s);
    Start(m_console, {file});
    EXPECT_FALSE(SessionListens(2000));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(u"Vantro.log"_s)));

    Start(m_opener, {u"--open"_s, file});
    EXPECT_TRUE(m_opener.waitForFinished(10000));
    EXPECT_EQ(m_opener.exitCode(), 0);
    EXPECT_TRUE(SessionListens(10000));
    EXPECT_TRUE(ReadFileBytes(m_dir.filePath(u"Vantro.log"_s)).startsWith("Session started "));
    EXPECT_EQ(m_console.state(), QProcess::Running);
}

} // namespace
