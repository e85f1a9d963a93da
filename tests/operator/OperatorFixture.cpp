#include "OperatorFixture.h"

#include "CDocManager.h"
#include "CDocTemplate.h"
#include "CDozoZedDoc.h"
#include "CDozoZedView.h"
#include "CMainFrame.h"
#include "COperatorFrame.h"
#include "COperatorView.h"
#include "CPushDispatcher.h"
#include "CWebBrowser.h"
#include "CWebPage.h"
#include "OperatorWindow.h"
#include "SessionLinks.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

struct Page
{
    const char *name;
    const char *html;
};

const Page kPages[] = {
    {"welcome.htm", "<html><head><title>Welcome</title></head><body>Welcome</body></html>"},
    {"page1.htm",
     "<html><head><title>Page One</title></head><body><h1>Page One</h1>"
     "<p>The first content page.</p></body></html>"},
    {"page2.htm", "<html><head><title>Page Two</title></head><body>Two</body></html>"},
    {"page3.htm", "<html><head><title>Page Three</title></head><body>Three</body></html>"},
    {"untitled.htm", "<html><body>No title here</body></html>"},
    {"frames.htm",
     "<html><head><title>Framed</title></head><frameset cols=\"50%,50%\">"
     "<frame name=\"left\" src=\"left.htm\"><frame name=\"right\" src=\"right.htm\">"
     "</frameset></html>"},
    {"left.htm", "<html><head><title>Left</title></head><body>Left</body></html>"},
    {"right.htm", "<html><head><title>Right</title></head><body>Right</body></html>"},
};

} // namespace

void OperatorFixture::SetUp()
{
    ConsoleFixture::SetUp();
    for (const Page &page : kPages)
        ASSERT_TRUE(WriteFileBytes(Path(QString::fromLatin1(page.name)), page.html));
    g_addressHistory.clear();
    CPushDispatcher::lastPushedAddress.clear();
    m_document = NewSession();
    ASSERT_NE(m_document, nullptr);
    m_frame = std::make_unique<CMainFrame>();
    m_activity = std::make_unique<CDozoZedView>(*m_document);
    auto operatorTemplate = MakeOperatorTemplate();
    m_operatorTemplate = operatorTemplate.get();
    m_manager->AddDocTemplate(std::move(operatorTemplate));
    ASSERT_TRUE(Logon(m_document->m_options.m_port, u"127.0.0.2"_s));
}

void OperatorFixture::TearDown()
{
    if (g_pOperatorFrame)
        g_pOperatorFrame->GetActiveDocument()->OnCloseDocument();
    Settle();
    m_activity.reset();
    ConsoleFixture::TearDown();
    m_frame.reset();
    Settle();
}

COperatorView *OperatorFixture::OpenOperatorWindow(const QString &firstPage)
{
    if (!m_operatorTemplate->OpenDocumentFile({}) || !g_pOperatorFrame)
        return nullptr;
    m_view = g_pOperatorFrame->View();
    const QString expected = firstPage.isEmpty() ? Url(u"welcome.htm"_s) : firstPage;
    const bool loaded = WaitFor([this, &expected] {
        return m_view->Browser()->LocationURL() == expected && !m_view->Browser()->Busy();
    });
    return loaded ? m_view : nullptr;
}

QString OperatorFixture::Url(const QString &page) const
{
    return u"http://127.0.0.1:%1/%2"_s.arg(m_document->m_options.m_port).arg(page);
}

void OperatorFixture::Load(const QString &address)
{
    bool finished = false;
    const QMetaObject::Connection done = QObject::connect(
        m_view->Browser(), &QWebEngineView::loadFinished, m_view, [&finished] { finished = true; });
    m_view->Navigate(address);
    EXPECT_TRUE(WaitFor([&finished] { return finished; })) << qPrintable(address);
    QObject::disconnect(done);
    Settle();
}

QStringList OperatorFixture::Pushes() const
{
    QStringList pushes;
    const QTreeWidget *list = m_activity->List();
    for (int row = list->topLevelItemCount() - 1; row >= 0; --row) {
        const QTreeWidgetItem *item = list->topLevelItem(row);
        if (item->text(CDozoZedView::ClientColumn) == CPushDispatcher::kAllClients)
            pushes.append(item->text(CDozoZedView::UrlColumn));
    }
    return pushes;
}

QString OperatorFixture::PaneText(int id) const
{
    return m_frame->PaneText(id);
}
