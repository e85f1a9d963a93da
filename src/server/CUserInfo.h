#pragma once

#include <QString>

// One user as the monitoring windows see it.
class CUserInfo
{
public:
    // MainWindowLost: the control window polls, but the window it moves has gone.
    // PageNotWritten: the user's control page could not be written, so pushes cannot reach it.
    enum State { Waiting = 0, Connected = 1, NoStatus = 2, MainWindowLost = 3, PageNotWritten = 4 };

    CUserInfo() = default;
    CUserInfo(const QString &name, const QString &address, int state = Connected)
        : m_address(address)
        , m_name(name)
        , m_state(state)
    { }

    QString m_address;
    QString m_name;
    int m_state = Waiting;
};
