#include "HelpTopics.h"

#include "CMainFrame.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

QTextBrowser *ShowHelpTopic(int context)
{
    const QString topic = u":/help/%1.htm"_s.arg(context, 0, 16);
    if (!QFile::exists(topic))
        return nullptr;
    static QPointer<QTextBrowser> window;
    if (!window) {
        window = new QTextBrowser(g_pMainFrame);
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(480, 360);
    }
    window->setSource(QUrl(u"qrc"_s + topic));
    window->setWindowTitle(window->documentTitle());
    window->show();
    window->raise();
    return window;
}
