#include "CLaunchAgent.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void PrintLine(const QString &line)
{
    std::fprintf(stderr, "vantro-agent: %s\n", qPrintable(line));
    std::fflush(stderr);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(u"vantro-agent"_s);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Opens the address a Vantro console's client launcher sends."_s);
    const QCommandLineOption port(u"port"_s, u"The port to listen on (1500)."_s, u"N"_s,
                                  QString::number(CLaunchAgent::kDefaultPort));
    const QCommandLineOption openWith(u"open-with"_s,
                                      u"The program that opens the address (xdg-open)."_s,
                                      u"PROGRAM"_s, u"xdg-open"_s);
    parser.addOptions({port, openWith});
    parser.addHelpOption();
    parser.process(application);

    bool valid = false;
    const uint portNumber = parser.value(port).toUInt(&valid);
    if (!valid || portNumber == 0 || portNumber > 65535) {
        PrintLine(u"not a port: %1"_s.arg(parser.value(port)));
        return 2;
    }
    CLaunchAgent agent(parser.value(openWith), &PrintLine);
    if (!agent.Listen(QHostAddress::AnyIPv4, static_cast<quint16>(portNumber))) {
        PrintLine(u"cannot listen on port %1: %2"_s.arg(portNumber).arg(agent.ErrorString()));
        return 1;
    }
    std::printf("vantro-agent: listening on port %u\n", portNumber);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
