#include "CWebBrowser.h"

#include "CWebPage.h"

#include <QContextMenuEvent>

CWebBrowser::CWebBrowser(QWidget *parent)
    : QWebEngineView(parent)
    , m_pPage(new CWebPage(this))
{
    setPage(m_pPage);
    connect(m_pPage, &CWebPage::BeforeNavigate2, this, &CWebBrowser::BeforeNavigate2);
}

void CWebBrowser::Navigate(const QString &address)
{
    load(QUrl::fromUserInput(address));
}

// With no page to go to the engine does nothing, which is what the operator expects.
void CWebBrowser::GoBack()
{
    triggerPageAction(QWebEnginePage::Back);
}

void CWebBrowser::GoForward()
{
    triggerPageAction(QWebEnginePage::Forward);
}

void CWebBrowser::Refresh()
{
    triggerPageAction(QWebEnginePage::Reload);
}

void CWebBrowser::Stop()
{
    triggerPageAction(QWebEnginePage::Stop);
}

QString CWebBrowser::LocationName() const
{
    return HasDocument() ? title() : QString();
}

QString CWebBrowser::LocationURL() const
{
    return url().toString();
}

bool CWebBrowser::Busy() const
{
    return m_pPage->isLoading();
}

bool CWebBrowser::HasDocument() const
{
    return !url().isEmpty();
}

void CWebBrowser::contextMenuEvent(QContextMenuEvent *event)
{
    Q_EMIT ContextMenuRequested(event->globalPos());
    event->accept();
}
