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
