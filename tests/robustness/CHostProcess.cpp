#include "CHostProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

CHostProcess::~CHostProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

bool CHostProcess::Start(const QString &root, const QStringList &arguments, int descriptorLimit)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (descriptorLimit > 0) {
        // UndefinedBehaviorSanitizer probes memory through a pipe of its own before it trusts an
        // object's type; in a process out of descriptors it takes every object for a bad one.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"UBSAN_OPTIONS"_s, u"halt_on_error=0:suppressions=/dev/null"_s);
        m_process.setProcessEnvironment(environment);
        m_process.setChildProcessModifier([descriptorLimit] {
            const rlimit limit {rlim_t(descriptorLimit), rlim_t(descriptorLimit)};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        });
    }
    m_process.start(QStringLiteral(VANTRO_TESTHOST_PATH),
                    QStringList {u"--root"_s, root, u"--port"_s, u"0"_s} + arguments);
    const QByteArray line = NextAnswer();
    if (!line.startsWith("listening "))
        return false;
    m_port = static_cast<quint16>(line.mid(10).toUInt());
    return m_port != 0;
}

QByteArray CHostProcess::Command(const QByteArray &line)
{
    m_process.write(line + '\n');
    return NextAnswer();
}

int CHostProcess::OpenConnections()
{
    const QByteArray answer = Command("connections");
    return answer.startsWith("ok ") ? answer.mid(3).toInt() : -1;
}

// The next line that answers a command, skipping the activity the host prints meanwhile.
QByteArray CHostProcess::NextAnswer()
{
    const QDeadlineTimer deadline(10000);
    for (;;) {
        const qsizetype newline = m_pending.indexOf('\n');
        if (newline >= 0) {
            const QByteArray line = m_pending.first(newline);
            m_pending.remove(0, newline + 1);
            if (line.startsWith("ok") || line.startsWith("error") || line.startsWith("listening"))
                return line;
            continue;
        }
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
            return {};
        m_pending += m_process.readAllStandardOutput();
    }
}

int CHostProcess::DescriptorCount() const
{
    return static_cast<int>(QDir(u"/proc/%1/fd"_s.arg(m_process.processId()))
                                .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)
                                .size());
}

long CHostProcess::ResidentKb() const
{
    QFile status(u"/proc/%1/status"_s.arg(m_process.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}
