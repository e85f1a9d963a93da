#include "CCommandChannel.h"

#include <cstdio>
#include <unistd.h>

CCommandChannel::CCommandChannel(std::function<void(const QByteArray &)> onCommand,
                                 std::function<void()> onEnd)
    : m_input(STDIN_FILENO, QSocketNotifier::Read)
    , m_onCommand(std::move(onCommand))
    , m_onEnd(std::move(onEnd))
{
    connect(&m_input, &QSocketNotifier::activated, this, &CCommandChannel::OnInput);
}

void CCommandChannel::OnInput()
{
    char chunk[4096];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count <= 0) {
        m_input.setEnabled(false);
        m_onEnd();
        return;
    }
    m_pending.append(chunk, count);
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (!line.isEmpty())
            m_onCommand(line);
    }
}

void PrintLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
