#include "CUsersDoc.h"

using namespace Qt::StringLiterals;

CUsersDoc::CUsersDoc()
{
    // Nothing to save: both commands show their plain texts, greyed.
    OnUpdate(ID_FILE_SAVE, [](CCmdUI &ui) {
        ui.SetText(u"&Save"_s);
        ui.Enable(false);
    });
    OnUpdate(ID_FILE_SAVE_AS, [](CCmdUI &ui) {
        ui.SetText(u"Save &As..."_s);
        ui.Enable(false);
    });
}

bool CUsersDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    SetTitle(u"Users"_s);
    return true;
}

void CUsersDoc::UpdateAllViews(int hint, const CUserInfo *user)
{
    Q_EMIT Update(hint, user);
}
