#include "CDozoZedApp.h"
#include "COpenChannel.h"
#include "DescriptorLimit.h"
#include "EventLoop.h"
#include "HeapTuning.h"
#include "OperatorWindow.h"
#include "ScriptWindow.h"
#include "WidgetPrompts.h"

#include <QApplication>
#include <QCommandLineParser>

#include <unistd.h>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    PreferQtEventDispatcher();
    RaiseDescriptorLimit();
    KeepFreedHeap();
    PrepareOperatorWindow();
    PrepareScriptWindows();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption open(u"open"_s, u"Open a session or script file."_s, u"file"_s);
    parser.addOption(open);
    parser.addHelpOption();
    // Files named without "--open" are accepted and left unopened.
    parser.addPositionalArgument(u"file"_s, u"Ignored."_s);
    parser.process(application);
    const QStringList files = parser.values(open);
    if (!files.isEmpty() && COpenChannel::SendToRunning(files))
        return 0;

    InstallWidgetPrompts();
    CDozoZedApp app;
    app.SetFilesToOpen(files);
    app.EnableSplash(files.isEmpty());
    if (!app.InitInstance())
        return 1;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
