#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <functional>

// Standard input as a channel of commands, one a line: each non-empty line goes to the command
// handler, and the end of the input to the end handler. The hosts that browser tests and
// benchmarks drive are built on it.
class CCommandChannel : public QObject
{
public:
    CCommandChannel(std::function<void(const QByteArray &)> onCommand, std::function<void()> onEnd);

private:
    void OnInput();

    QSocketNotifier m_input;
    QByteArray m_pending;
    std::function<void(const QByteArray &)> m_onCommand;
    std::function<void()> m_onEnd;
};

// Writes one line to standard output and flushes it, so that a driving test sees it at once.
void PrintLine(const QString &line);
