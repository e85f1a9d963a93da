#include "CWebPage.h"

CWebPage::CWebPage(QObject *parent)
    : QWebEnginePage(parent)
{ }

bool CWebPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    const QString address = url.toString();
    Q_EMIT BeforeNavigate2(address, isMainFrame ? QString() : address);
    return true;
}
