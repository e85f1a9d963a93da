#include "ViewsFixture.h"

#include "CControlBar.h"
#include "CDocManager.h"
#include "CDocTemplate.h"
#include "CDozoZedApp.h"
#include "CMainFrame.h"
#include "CUsersView.h"
#include "CVantroTree.h"
#include "SessionLinks.h"
#include "UsersWindowType.h"

#include <QTreeWidgetItem>

void ViewsFixture::SetUp()
{
    ConsoleFixture::SetUp();
    m_frame = std::make_unique<CMainFrame>();
    ASSERT_EQ(g_pTree, Tree());
    // Script, operator and chat windows keep their places empty, as in the program.
    for (int position = 1; position < 4; ++position)
        m_manager->ReserveTemplatePosition();
    auto users = MakeUsersTemplate();
    m_usersTemplate = users.get();
    m_manager->AddDocTemplate(std::move(users));
}

void ViewsFixture::TearDown()
{
    ConsoleFixture::TearDown();
    m_frame.reset();
    g_favorites.clear();
}

CVantroTree *ViewsFixture::Tree() const
{
    return m_frame->ControlBar()->Tree();
}

CUsersView *ViewsFixture::OpenUsersWindow()
{
    if (!m_usersTemplate->OpenDocumentFile({}))
        return nullptr;
    return g_pUsersView;
}

QStringList ViewsFixture::ChildTexts(const QTreeWidgetItem *item)
{
    QStringList texts;
    for (int index = 0; index < item->childCount(); ++index)
        texts.append(item->child(index)->text(0));
    return texts;
}

void AppFixture::SetUp()
{
    ConsoleFixture::SetUp();
    // The application keeps its own window types; its open channel lives in this test's folder.
    m_manager.reset();
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    m_app = std::make_unique<CDozoZedApp>();
    ASSERT_TRUE(m_app->InitInstance());
    ASSERT_NE(g_pMainFrame, nullptr);
}

void AppFixture::TearDown()
{
    g_bExitConfirmed = true;
    m_app->DocManager().CloseAllDocuments();
    Settle();
    delete g_pMainFrame;
    m_app->ExitInstance();
    m_app.reset();
    ConsoleFixture::TearDown();
}

CVantroTree *AppFixture::AppTree() const
{
    return g_pMainFrame->ControlBar()->Tree();
}
