#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// The test host as a separate process on a loopback port, so that the peers below and the
// server never share an event loop: what the server holds shows in /proc/PID.
class CHostProcess
{
public:
    ~CHostProcess();

    // Starts build/vantro-testhost with the arguments and waits for "listening PORT". A
    // descriptor limit other than 0 is the host's soft and hard limit.
    bool Start(const QString &root, const QStringList &arguments, int descriptorLimit = 0);
    quint16 Port() const { return m_port; }

    // Sends a command line and returns its "ok ..." or "error ..." answer; empty on time-out.
    QByteArray Command(const QByteArray &line);
    // The connections the server has open, as its "connections" command says; -1 on time-out.
    int OpenConnections();

    int DescriptorCount() const;
    long ResidentKb() const;

private:
    QByteArray NextAnswer();

    QProcess m_process;
    QByteArray m_pending;
    quint16 m_port = 0;
};
