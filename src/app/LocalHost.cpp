#include "LocalHost.h"

#include "MessageBox.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kLoopback = u"127.0.0.1"_s;

bool IsJoinable(const QHostAddress &address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback();
}

HostNetwork RealNetwork()
{
    HostNetwork network;
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    network.m_nameError = static_cast<int>(info.error());
    network.m_nameAddresses = info.addresses();
    for (const QNetworkInterface &face : QNetworkInterface::allInterfaces()) {
        if (!face.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry &entry : face.addressEntries())
            network.m_interfaceAddresses.append(entry.ip());
    }
    return network;
}

std::function<LocalHostLookup()> &Lookup()
{
    static std::function<LocalHostLookup()> lookup;
    return lookup;
}

// One warning box at a time, shown from the event loop: a window or session being built goes
// on, on loopback, and several steps that each found no address warn once.
void WarnLater(int error)
{
    static bool pending = false;
    if (pending || !QCoreApplication::instance())
        return;
    pending = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [error] {
        pending = false;
        ShowMessageBox(u"WARNING: Your network connection is not active! (%1)"_s.arg(error),
                       MB_ICONEXCLAMATION);
    });
}

} // namespace

LocalHostLookup ChooseLocalHost(const HostNetwork &network)
{
    LocalHostLookup result;
    result.m_error = network.m_nameError;
    for (const QHostAddress &address : network.m_nameAddresses) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        if (IsJoinable(address))
            result.m_all.append(address.toString());
        break;
    }
    for (const QHostAddress &address : network.m_interfaceAddresses) {
        if (IsJoinable(address) && !result.m_all.contains(address.toString()))
            result.m_all.append(address.toString());
    }
    result.m_ok = !result.m_all.isEmpty();
    result.m_address = result.m_ok ? result.m_all.first() : kLoopback;
    return result;
}

LocalHostLookup LookUpLocalHost()
{
    const auto &lookup = Lookup();
    return lookup ? lookup() : ChooseLocalHost(RealNetwork());
}

void SetLocalHostLookup(std::function<LocalHostLookup()> lookup)
{
    Lookup() = std::move(lookup);
}

QString HttpAddress(const QString &host, int port)
{
    return port == 80 ? u"http://"_s + host : u"http://%1:%2"_s.arg(host).arg(port);
}

LocalHostLookup LookUpLocalHostOrWarn()
{
    const LocalHostLookup host = LookUpLocalHost();
    if (!host.m_ok)
        WarnLater(host.m_error);
    return host;
}

QString AddressTitleOrWarn(int port)
{
    return u" ("_s + HttpAddress(LookUpLocalHostOrWarn().m_address, port) + u')';
}
