#include "CUsersFrame.h"

#include "CDocument.h"
#include "CUsersView.h"
#include "ResourceIcons.h"
#include "ResourceIds.h"

CUsersFrame *g_pUsersFrame = nullptr;
int CUsersFrame::s_nCount = 0;

CUsersFrame::CUsersFrame(CDocument &document)
    : CMDIChildWnd(document)
{
    ++s_nCount;
    g_pUsersFrame = this;
    setWindowIcon(LoadResIcon(IDI_USER));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    connect(&document, &CDocument::InitialUpdate, this, [this] {
        if (const CDocument *users = GetActiveDocument())
            setWindowTitle(users->GetTitle());
    });
    SetView(new CUsersView(document, this));
}

CUsersFrame::~CUsersFrame()
{
    --s_nCount;
    if (g_pUsersFrame == this)
        g_pUsersFrame = nullptr;
}
