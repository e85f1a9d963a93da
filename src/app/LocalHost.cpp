#include "LocalHost.h"

#include "MessageBox.h"

#include <QHostInfo>

using namespace Qt::StringLiterals;

namespace {

LocalHostLookup RealLookup()
{
    LocalHostLookup result;
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    result.m_error = static_cast<int>(info.error());
    for (const QHostAddress &address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            result.m_ok = true;
            result.m_address = address.toString();
            break;
        }
    }
    return result;
}

std::function<LocalHostLookup()> &Lookup()
{
    static std::function<LocalHostLookup()> lookup;
    return lookup;
}

} // namespace

LocalHostLookup LookUpLocalHost()
{
    const auto &lookup = Lookup();
    return lookup ? lookup() : RealLookup();
}

void SetLocalHostLookup(std::function<LocalHostLookup()> lookup)
{
    Lookup() = std::move(lookup);
}

QString AddressTitleOrWarn()
{
    const LocalHostLookup host = LookUpLocalHost();
    if (host.m_ok)
        return u" (http://%1)"_s.arg(host.m_address);
    ShowMessageBox(u"WARNING: Your network connection is not active! (%1)"_s.arg(host.m_error),
                   MB_ICONEXCLAMATION);
    return {};
}
