#include "HelpTopics.h"

#include "CMainFrame.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {

QTextBrowser *ShowHelpPage(const QString &topic)
{
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

} // namespace

QTextBrowser *ShowHelpTopic(int context)
{
    return ShowHelpPage(u":/help/%1.htm"_s.arg(context, 0, 16));
}

QTextBrowser *ShowHelpContents()
{
    return ShowHelpPage(u":/help/contents.htm"_s);
}
