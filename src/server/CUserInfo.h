#pragma once

#include <QString>

// One user as the monitoring windows see it.
class CUserInfo
{
public:
    enum State { Waiting = 0, Connected = 1, NoStatus = 2 };

    CUserInfo() = default;
    CUserInfo(const QString &name, const QString &address)
        : m_address(address)
        , m_name(name)
        , m_state(Connected)
    { }

    QString m_address;
    QString m_name;
    int m_state = Waiting;
};
