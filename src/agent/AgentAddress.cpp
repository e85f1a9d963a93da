#include "AgentAddress.h"

#include <QList>

#include <string_view>

namespace {

constexpr qsizetype kMaxHostName = 253;
constexpr qsizetype kMaxLabel = 63;
constexpr int kMaxPort = 65535;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetterOrDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// One to three digits, 0 to 255.
bool IsOctet(const QByteArray &part)
{
    if (part.isEmpty() || part.size() > 3)
        return false;
    for (const char c : part) {
        if (!IsDigit(c))
            return false;
    }
    return part.toInt() <= 255;
}

bool IsDottedAddress(const QByteArray &host)
{
    const QList<QByteArray> parts = host.split('.');
    if (parts.size() != 4)
        return false;
    for (const QByteArray &part : parts) {
        if (!IsOctet(part))
            return false;
    }
    return true;
}

// Letters, digits and inner hyphens in labels of at most 63 characters; not all digits, so
// that a mistyped address is not taken for a name.
bool IsHostName(const QByteArray &host)
{
    if (host.isEmpty() || host.size() > kMaxHostName)
        return false;
    bool anyLetter = false;
    for (const QByteArray &label : host.split('.')) {
        if (label.isEmpty() || label.size() > kMaxLabel || label.front() == '-'
            || label.back() == '-')
            return false;
        for (const char c : label) {
            if (!IsLetterOrDigit(c) && c != '-')
                return false;
            anyLetter = anyLetter || !IsDigit(c);
        }
    }
    return anyLetter;
}

bool IsPort(const QByteArray &port)
{
    if (port.isEmpty() || port.size() > 5)
        return false;
    for (const char c : port) {
        if (!IsDigit(c))
            return false;
    }
    const int value = port.toInt();
    return value >= 1 && value <= kMaxPort;
}

// Unreserved characters, a few separators of paths and queries, and %-escapes; no quotes,
// spaces, semicolons, backslashes or control characters.
bool IsPath(const QByteArray &path)
{
    static constexpr std::string_view kAllowed = "-._~/?=&+#:@,";
    for (qsizetype index = 0; index < path.size(); ++index) {
        const char c = path.at(index);
        if (c == '%') {
            if (index + 2 >= path.size() || !IsHexDigit(path.at(index + 1))
                || !IsHexDigit(path.at(index + 2)))
                return false;
            index += 2;
        } else if (!IsLetterOrDigit(c) && kAllowed.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsLaunchAddress(const QByteArray &text)
{
    static constexpr QByteArrayView kScheme = "http://";
    if (!text.startsWith(kScheme))
        return false;
    const QByteArray rest = text.mid(kScheme.size());
    const qsizetype pathStart = rest.indexOf('/');
    const QByteArray authority = pathStart < 0 ? rest : rest.left(pathStart);
    const QByteArray path = pathStart < 0 ? QByteArray() : rest.mid(pathStart);
    const qsizetype colon = authority.indexOf(':');
    const QByteArray host = colon < 0 ? authority : authority.left(colon);
    if (colon >= 0 && !IsPort(authority.mid(colon + 1)))
        return false;
    return (IsDottedAddress(host) || IsHostName(host)) && IsPath(path);
}
