#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What this machine says about itself: the addresses its host name resolves to and those of
// its network interfaces.
struct HostNetwork
{
    QList<QHostAddress> m_nameAddresses; // in the resolver's order
    int m_nameError = 0; // the name lookup's error code, 0 when the name resolved
    QList<QHostAddress> m_interfaceAddresses; // of the interfaces that are up, in their order
};

// The address users on other machines join at.
struct LocalHostLookup
{
    LocalHostLookup(bool ok = false, QString address = {}, int error = 0, QStringList all = {})
        : m_ok(ok)
        , m_address(std::move(address))
        , m_error(error)
        , m_all(std::move(all))
    { }

    bool m_ok; // false when only loopback was found: nobody else can join
    QString m_address; // dotted, "%d.%d.%d.%d"; "127.0.0.1" when nothing else was found
    int m_error; // the name lookup's error code
    QStringList m_all; // every address users may join at, m_address first; empty when none
};

// The first IPv4 address of the host name, unless that is loopback (a stock /etc/hosts names
// 127.0.1.1) or the name does not resolve: then the first IPv4 address of an interface that
// is not loopback.
LocalHostLookup ChooseLocalHost(const HostNetwork &network);

LocalHostLookup LookUpLocalHost();
// Tests replace the lookup, so that none depends on this machine's network; an empty function
// restores the real one.
void SetLocalHostLookup(std::function<LocalHostLookup()> lookup);

// "http://" and the host, with ":port" unless the port is the standard one.
QString HttpAddress(const QString &host, int port);

// This machine's address; when nobody else can reach it the operator is warned "WARNING: Your
// network connection is not active! (%d)" once the current step has finished, so that a
// session still starts, on loopback.
LocalHostLookup LookUpLocalHostOrWarn();
// " (http://a.b.c.d[:port])" for the session title and window captions.
QString AddressTitleOrWarn(int port);
