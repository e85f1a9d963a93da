#include "CChatDoc.h"

#include "CDocTemplate.h"
#include "CPushDispatcher.h"
#include "CUserInfo.h"
#include "CVantroTree.h"
#include "SessionLinks.h"

using namespace Qt::StringLiterals;

bool CChatDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    const CDocTemplate *docTemplate = GetDocTemplate();
    const QString title
        = docTemplate ? docTemplate->GetDocString(CDocTemplate::windowTitle) : u"Chat"_s;
    if (m_key.isEmpty()) {
        SetTitle(title + " - "_L1 + CPushDispatcher::kAllClients);
        return true;
    }
    QString name;
    if (const auto *tree = dynamic_cast<const CVantroTree *>(g_pTree)) {
        for (const std::unique_ptr<CUserInfo> &user : tree->Users()) {
            if (user->m_address == m_key)
                name = user->m_name + u' ';
        }
    }
    SetTitle(title + " - "_L1 + name + u'(' + m_key + u')');
    return true;
}
