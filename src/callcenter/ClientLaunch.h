#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// One launch: connect to a launch agent, send it the console's address, close.
enum class LaunchResult {
    Launched,
    NoSocket, // the socket could not be made: "(-1)"
    NoConnection, // name not found, refused, unreachable, port 0, or no answer in time: "(-2)"
    WriteFailed, // the connection broke while the address was being sent
};

struct LaunchOutcome
{
    LaunchResult m_result = LaunchResult::Launched;
    QString m_error; // the socket's own text, for a failed write
};

// A connection attempt that gets no answer gives up after this long, so that one silent
// machine cannot hold the launcher for minutes.
constexpr int kLaunchConnectTimeoutMs = 5000;
// Sending the address and closing get as long again.
constexpr int kLaunchSendTimeoutMs = 5000;

// Connects to the machine (a host name or a dotted address) at the port and writes the text
// unchanged, then closes. Waits in a local event loop that keeps painting but takes no input, so
// the window stays drawn while the operator's clicks wait. The status function hears "Connecting
// to %s...", "Launching client %s..." and "Disconnecting from client %s...".
LaunchOutcome LaunchClient(const QString &machine, int port, const QByteArray &text,
                           const std::function<void(const QString &)> &status);

// The decimal value at the start of the text; 0 when it does not start with a digit or the
// value is no port.
int LeadingPort(const QString &text);
