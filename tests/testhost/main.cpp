#include "CSessionFile.h"
#include "CSvrOptions.h"
#include "CTestHost.h"
#include "DescriptorLimit.h"
#include "EventLoop.h"
#include "HeapTuning.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Reads an integer option into the field when it was given; false when it is not a number in
// the range.
bool TakeNumber(const QCommandLineParser &parser, const QString &name, int low, int high,
                qint32 &field)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high) {
        std::fprintf(stderr, "--%s takes a number from %d to %d\n", qUtf8Printable(name), low,
                     high);
        return false;
    }
    field = value;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    PreferQtEventDispatcher();
    RaiseDescriptorLimit();
    KeepFreedHeap();
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Runs a session without windows; push commands on standard input."_s);
    parser.addHelpOption();
    parser.addOptions({
        {u"session"_s, u"Session file to load."_s, u"file"_s},
        {u"root"_s, u"Root folder to serve."_s, u"dir"_s},
        {u"port"_s, u"Port to listen on (0: any free port)."_s, u"port"_s},
        {u"refresh"_s, u"Idle control-page refresh in seconds."_s, u"secs"_s},
        {u"instant-delivery"_s,
         u"Hold idle control-page polls for pushes (1, the default) or not (0)."_s, u"on"_s},
        {u"delay"_s, u"Download delay in seconds."_s, u"secs"_s},
        {u"head-timeout"_s, u"Drop a request head not complete by then."_s, u"ms"_s},
        {u"send-timeout"_s, u"Drop a response whose unsent bytes do not move for this long."_s,
         u"ms"_s},
        {u"max-connections"_s, u"Refuse connections past this many."_s, u"count"_s},
        {u"max-per-address"_s, u"Refuse connections from one address past this many."_s,
         u"count"_s},
    });
    parser.process(app);

    CSessionFile session;
    if (parser.isSet(u"session"_s)) {
        const QString error = session.LoadSessionFile(parser.value(u"session"_s));
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(error));
            return 1;
        }
    }
    CSvrOptions &options = session.m_options;
    if (parser.isSet(u"root"_s))
        options.m_rootFolder = parser.value(u"root"_s);
    if (!TakeNumber(parser, u"port"_s, CSvrOptions::kMinPort, CSvrOptions::kMaxPort, options.m_port)
        || !TakeNumber(parser, u"refresh"_s, CSvrOptions::kMinRefreshSecs,
                       CSvrOptions::kMaxRefreshSecs, options.m_refreshSecs)
        || !TakeNumber(parser, u"delay"_s, CSvrOptions::kMinDownloadDelaySecs,
                       CSvrOptions::kMaxDownloadDelaySecs, options.m_downloadDelaySecs)
        || !TakeNumber(parser, u"instant-delivery"_s, 0, 1, options.m_instantDelivery))
        return 2;
    CHostLimits limits {CListenSocket::kHeadTimeoutMs, CListenSocket::kSendTimeoutMs,
                        CListenSocket::DefaultMaxConnections(), 0};
    if (!TakeNumber(parser, u"head-timeout"_s, 1, CListenSocket::kHeadTimeoutMs,
                    limits.headTimeoutMs)
        || !TakeNumber(parser, u"send-timeout"_s, 1, CListenSocket::kSendTimeoutMs,
                       limits.sendTimeoutMs)
        || !TakeNumber(parser, u"max-connections"_s, 1, 1 << 20, limits.maxConnections)
        || !TakeNumber(parser, u"max-per-address"_s, 1, 1 << 20, limits.maxPerAddress))
        return 2;

    CTestHost host(options, limits);
    if (!host.Start())
        return 1;
    return QCoreApplication::exec();
}
