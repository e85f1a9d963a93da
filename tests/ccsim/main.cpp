// A call-center server on 127.0.0.1 for trying call-center mode by hand: it prints each request
// line it receives and answers the polls with the replies given. Lines on standard input
// replace a reply: "A #A:..." for the assigned list, "C #C:..." for the waiting list.
#include "CCallCenterSimulator.h"
#include "CCommandChannel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Simulates a call-center server on 127.0.0.1."_s);
    parser.addHelpOption();
    parser.addOptions({
        {u"port"_s, u"Port to listen on (0: any free port)."_s, u"port"_s, u"0"_s},
        {u"assigned"_s, u"Reply to the assigned poll."_s, u"reply"_s, u"#A;"_s},
        {u"waiting"_s, u"Reply to the waiting poll."_s, u"reply"_s, u"#C;"_s},
        {u"status"_s, u"How status commands are answered: answer, slow or never."_s, u"how"_s,
         u"answer"_s},
    });
    parser.process(app);
    bool portOk = false;
    const uint port = parser.value(u"port"_s).toUInt(&portOk);
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "--port takes a number from 0 to 65535\n");
        return 2;
    }
    CCallCenterSimulator simulator(static_cast<quint16>(port));
    if (simulator.Port() == 0) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    simulator.SetReplies('A', {parser.value(u"assigned"_s).toLatin1()});
    simulator.SetReplies('C', {parser.value(u"waiting"_s).toLatin1()});
    const QString status = parser.value(u"status"_s);
    if (status == "slow"_L1)
        simulator.SetBehaviour('S', CCallCenterSimulator::AnswerSlowly, 3000);
    else if (status == "never"_L1)
        simulator.SetBehaviour('S', CCallCenterSimulator::NeverAnswer);
    PrintLine(u"listening on "_s + simulator.Server());

    CCommandChannel input(
        [&simulator](const QByteArray &line) {
            if (line.size() > 2 && (line[0] == 'A' || line[0] == 'C') && line[1] == ' ')
                simulator.SetReplies(line[0], {line.sliced(2)});
        },
        [] {});
    qsizetype printed = 0;
    QTimer printer;
    QObject::connect(&printer, &QTimer::timeout, &app, [&simulator, &printed] {
        const QList<QByteArray> lines = simulator.RequestLines();
        for (; printed < lines.size(); ++printed)
            PrintLine(QString::fromLatin1(lines[printed]));
    });
    printer.start(200);
    return QCoreApplication::exec();
}
