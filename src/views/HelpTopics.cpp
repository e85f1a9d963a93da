#include "HelpTopics.h"

#include "CMainFrame.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {

QTextBrowser *ShowHelpPage(const QString &topic)
{
    if (!QFile::exists(topic))
        return nullptr;
    // A modal dialog asking for help blocks every window but its own: the help window then
    // belongs to the dialog.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = g_pMainFrame;
    static QPointer<QTextBrowser> window;
    if (!window) {
        window = new QTextBrowser;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(480, 360);
    }
    if (window->parentWidget() != owner)
        window->setParent(owner, Qt::Window);
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
