#include "UsersWindowType.h"

#include "CMainFrame.h"
#include "CMyMultiDocTemplate.h"
#include "CUsersDoc.h"
#include "CUsersFrame.h"
#include "ResourceIds.h"

using namespace Qt::StringLiterals;

std::unique_ptr<CDocTemplate> MakeUsersTemplate()
{
    auto users = std::make_unique<CMyMultiDocTemplate>(
        IDD_USERS, u"\nUsers"_s, [] { return new CUsersDoc; }, false);
    users->SetFrameFactory([](CDocument &document) {
        auto *frame = new CUsersFrame(document);
        if (g_pMainFrame)
            g_pMainFrame->AddChildFrame(frame);
        return true;
    });
    return users;
}
