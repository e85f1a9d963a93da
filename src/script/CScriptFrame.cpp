#include "CScriptFrame.h"

#include "CScriptDoc.h"
#include "CScriptList.h"
#include "CScriptView.h"
#include "ResourceIcons.h"
#include "ResourceIds.h"
#include "SessionLinks.h"
#include "StringTable.h"

#include <QCloseEvent>

using namespace Qt::StringLiterals;

namespace {

// The longest title the Push Selected prompt quotes.
constexpr int kMaxPromptTitle = 511;

} // namespace

CScriptFrame::CScriptFrame(CScriptDoc &document)
    : CMDIChildWnd(document)
    , m_pView(new CScriptView(document, this, this))
{
    setWindowIcon(LoadResIcon(IDR_SCRIPTTYPE));
    const auto showTitle = [this, &document] {
        setWindowTitle(document.GetTitle());
    };
    connect(&document, &CDocument::InitialUpdate, this, showTitle);
    connect(&document, &CScriptDoc::Saved, this, showTitle);
    SetView(m_pView);
}

CScriptFrame::~CScriptFrame()
{
    ForgetInTree();
}

void CScriptFrame::ForgetInTree()
{
    if (g_pTree)
        g_pTree->RemoveScript(this);
}

// The tree keeps the item while a save question keeps the window open, so that the session
// still lists the script.
void CScriptFrame::closeEvent(QCloseEvent *event)
{
    CMDIChildWnd::closeEvent(event);
    if (event->isAccepted())
        ForgetInTree();
}

QString CScriptFrame::GetMessageString(int id) const
{
    switch (id) {
    case ID_FILE_SAVE:
        return u"Save the current script"_s;
    case ID_FILE_SAVE_AS:
        return u"Save the current script with a new name"_s;
    case ID_EXPORT_SCRIPT:
        return LoadResString(ID_EXPORT_SCRIPT);
    case ID_PUSH_SELECTED: {
        const QList<int> rows = m_pView->List()->SelectedRows();
        const CScriptEntry *entry
            = rows.size() == 1 ? m_pView->Document().GetEntry(rows.front()) : nullptr;
        if (entry)
            return u"Push \""_s + entry->m_title.left(kMaxPromptTitle) + u'"';
        return {};
    }
    default:
        return {};
    }
}
