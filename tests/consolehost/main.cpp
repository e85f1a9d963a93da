#include "CConsoleHost.h"
#include "CDozoZedApp.h"
#include "LocalHost.h"
#include "OperatorWindow.h"
#include "ScriptWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareOperatorWindow();
    PrepareScriptWindows();
    QApplication application(argc, argv);
    // The operator's own profile and recent files stay untouched.
    QStandardPaths::setTestModeEnabled(true);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Runs the console off screen with one session; pushes on standard input."_s);
    parser.addHelpOption();
    parser.addOptions({
        {u"root"_s, u"Root folder to serve."_s, u"dir"_s},
        {u"port"_s, u"Port to listen on (0: any free port)."_s, u"port"_s},
        {u"refresh"_s, u"Idle control-page refresh in seconds."_s, u"secs"_s},
        {u"delay"_s, u"Download delay in seconds."_s, u"secs"_s},
    });
    parser.process(application);
    CConsoleHost::Settings settings;
    settings.m_root = QDir(parser.value(u"root"_s)).absolutePath();
    // Options not given keep the host's defaults; bad numbers are left to the sheet to refuse.
    const auto take = [&parser](const QString &name, int &field) {
        if (parser.isSet(name))
            field = parser.value(name).toInt();
    };
    take(u"port"_s, settings.m_port);
    take(u"refresh"_s, settings.m_refreshSecs);
    take(u"delay"_s, settings.m_delaySecs);
    // As the Workstation Settings dialog leaves it: the log file lands in the content folder.
    QDir::setCurrent(settings.m_root);

    // Loopback only: the operator window's first page is the session's on 127.0.0.1.
    SetLocalHostLookup([] { return LocalHostLookup {true, u"127.0.0.1"_s, 0}; });
    CDozoZedApp app;
    if (!app.InitInstance())
        return 1;
    CConsoleHost host(settings);
    if (!host.Start())
        return 1;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
