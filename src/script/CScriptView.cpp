#include "CScriptView.h"

#include "CDozoZedDoc.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "CPushDispatcher.h"
#include "CScriptDoc.h"
#include "CScriptList.h"
#include "CUserTable.h"
#include "HeaderClickFilter.h"
#include "ListSizing.h"
#include "MessageBox.h"
#include "OperatorWindowType.h"
#include "ResourceIcons.h"
#include "ResourceIds.h"
#include "SessionLinks.h"
#include "StringTable.h"

#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

const QString CScriptView::kNoClients = u"No client(s) connected"_s;

namespace {

// The main menu's third submenu, "Sc&ript".
constexpr int kScriptMenuIndex = 2;
constexpr int kRowsShown = 10;

bool AnyUserConnected()
{
    const QMutexLocker lock(&g_userTable.Lock());
    return g_userTable.Size() > 0;
}

} // namespace

CScriptView::CScriptView(CScriptDoc &document, CMDIChildWnd *frame, QWidget *parent)
    : CView(document, parent)
    , m_document(document)
    , m_pFrame(frame)
    , m_list(new CScriptList([&document](int row) { return document.GetEntry(row); },
                             [&document](const CScriptEntry &entry) { document.AddEntry(entry); },
                             this))
    , m_marker(LoadResIcon(IDI_SCRIPT_MARKER))
{
    m_list->setHeaderLabels({LoadResString(IDS_COLUMN_TITLE), LoadResString(IDS_COLUMN_URL)});
    m_list->setColumnWidth(0, kTitleWidth);
    m_list->setColumnWidth(1, kUrlWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    setFocusProxy(m_list);
    CHeaderClickFilter::Install(m_list);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_document.SetSelection(m_list->SelectedRows()); });
    // Properties goes through the main window's routing, once this click is over.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [] {
        QMetaObject::invokeMethod(
            g_pMainFrame,
            [] {
                if (g_pMainFrame)
                    g_pMainFrame->OnCommandId(ID_SCRIPT_PROPERTIES);
            },
            Qt::QueuedConnection);
    });
    connect(&document, &CScriptDoc::Changed, this, [this] { Update(); });
    RegisterCommands();
}

QSize CScriptView::sizeHint() const
{
    return SizeForColumns(m_list, kTitleWidth + kUrlWidth, kRowsShown);
}

void CScriptView::RegisterCommands()
{
    OnCommand(ID_PUSH_SELECTED, [this] { OnPushSelected(); });
    OnUpdate(ID_PUSH_SELECTED,
             [this](CCmdUI &ui) { ui.Enable(g_pSessionDoc && !m_document.Selection().isEmpty()); });
    OnCommand(ID_PUSH_NEXT, [this] { OnPushNext(); });
    OnUpdate(ID_PUSH_NEXT, [this](CCmdUI &ui) { ui.Enable(m_list->topLevelItemCount() > 0); });
}

void CScriptView::Update()
{
    m_list->clear();
    for (const CScriptEntry &entry : m_document.Entries()) {
        auto *item = new QTreeWidgetItem({entry.m_title, entry.m_address});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        m_list->addTopLevelItem(item);
    }
    SetMarker(m_document.CurrentIndex(), true);
    m_document.SetSelection({});
}

void CScriptView::SetMarker(int row, bool on)
{
    if (QTreeWidgetItem *item = m_list->topLevelItem(row))
        item->setIcon(0, on ? m_marker : QIcon());
}

int CScriptView::MarkedRow() const
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        if (!m_list->topLevelItem(row)->icon(0).isNull())
            return row;
    }
    return -1;
}

void CScriptView::OnInitialUpdate()
{
    Update();
    m_list->setAcceptDrops(true);
    if (g_pTree && m_pFrame)
        g_pTree->AddScript(m_pFrame, m_document.GetTitle());
}

// The user table is looked at under its lock, which is released before anything is pushed.
void CScriptView::OnPushSelected()
{
    const bool anyUser = AnyUserConnected();
    const QList<int> rows = m_list->SelectedRows();
    const CScriptEntry *entry = rows.size() == 1 ? m_document.GetEntry(rows.front()) : nullptr;
    if (entry) {
        const QString address = entry->m_address;
        if (COperatorWindow *operatorWindow = OpenOperatorWindowBehind()) {
            // Follow mode pushes what the operator window loads; without it the push is ours.
            if (operatorWindow->IsFollowing()) {
                operatorWindow->Navigate(address);
            } else if (anyUser) {
                CPushDispatcher().PushUrlToAll(address);
                operatorWindow->Navigate(address);
            }
        }
    }
    if (!anyUser)
        ShowMessageBox(kNoClients, MB_ICONSTOP);
}

void CScriptView::OnPushNext()
{
    const int current = m_document.CurrentIndex();
    const CScriptEntry *entry = m_document.GetEntry(current);
    if (!entry || !m_list->topLevelItem(current))
        return;
    const QString address = entry->m_address;
    COperatorWindow *operatorWindow = g_pOperatorWindow;
    if (operatorWindow && !operatorWindow->IsFollowing())
        CPushDispatcher().PushUrlToAll(address);
    // A newly opened operator window follows, so loading the address there pushes it.
    if (!operatorWindow)
        operatorWindow = OpenOperatorWindowBehind();
    if (operatorWindow)
        operatorWindow->Navigate(address);
    SetMarker(current, false);
    const int next = current + 1 >= m_list->topLevelItemCount() ? 0 : current + 1;
    m_document.SetCurrentIndex(next);
    SetMarker(next, true);
}

// A new operator window comes to the front with the focus; the presenter goes on pushing from
// this script, so the script stays in front.
COperatorWindow *CScriptView::OpenOperatorWindowBehind()
{
    COperatorWindow *operatorWindow = OpenOperatorWindow();
    if (m_pFrame && m_pFrame->mdiArea())
        m_pFrame->mdiArea()->setActiveSubWindow(m_pFrame);
    return operatorWindow;
}

void CScriptView::contextMenuEvent(QContextMenuEvent *event)
{
    if (!g_pMainFrame)
        return;
    const QList<QAction *> menus = g_pMainFrame->menuBar()->actions();
    QMenu *scriptMenu
        = menus.size() > kScriptMenuIndex ? menus.at(kScriptMenuIndex)->menu() : nullptr;
    if (!scriptMenu)
        return;
    g_pMainFrame->UpdateCommandUI();
    scriptMenu->exec(event->globalPos());
}
