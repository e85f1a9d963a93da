#include "COperatorView.h"

#include "CChildFrame.h"
#include "CDozoZedDoc.h"
#include "CDozoZedView.h"
#include "CFramesWarningDlg.h"
#include "CMainFrame.h"
#include "COpenLocationDlg.h"
#include "CPushDispatcher.h"
#include "CWebBrowser.h"
#include "LocalHost.h"
#include "MessageBox.h"
#include "PopupMenu.h"
#include "PrintSetup.h"
#include "ResourceIds.h"
#include "ServerLinks.h"
#include "SessionLinks.h"
#include "Trace.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString kOperatorWindow = u"Operator Window"_s;

// The context menu: id and text; 0 is a separator.
struct ContextItem
{
    int id;
    const char16_t *text;
};
constexpr ContextItem kContextMenu[] = {
    {ID_OPERATOR_BACK, u"&Back"},
    {ID_OPERATOR_FORWARD, u"&Forward"},
    {ID_OPERATOR_REFRESH, u"&Refresh"},
    {0, nullptr},
    {ID_ADD_FAVORITE, u"Add to Favorites"},
    {ID_PUSH, u"&Push"},
    {ID_FILE_PRINT, u"P&rint"},
};

// The session's welcome page where users join it, so that a session on any port opens its own
// page.
QString WelcomeAddress(const QString &hostAddress, const CDozoZedDoc &session)
{
    QString page = session.m_options.m_welcomePage;
    page.replace(u'\\', u'/');
    if (!page.startsWith(u'/'))
        page.prepend(u'/');
    return HttpAddress(hostAddress, session.ServedPort()) + page;
}

} // namespace

COperatorView::COperatorView(CDocument &document, QWidget *parent)
    : CView(document, parent)
    , m_pWebIcon(new QLabel(this))
    , m_pAddressLabel(new QLabel(u"Address"_s, this))
    , m_pAddress(new QComboBox(this))
    , m_pBrowser(new CWebBrowser(this))
{
    m_pWebIcon->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(17, 17));
    m_pWebIcon->setFixedSize(17, 17);
    m_pWebIcon->setObjectName(QString::number(IDC_WEB_ICON));
    m_pAddressLabel->setObjectName(QString::number(IDC_ADDRESS_LABEL));
    m_pAddress->setObjectName(QString::number(IDC_ADDRESS));
    m_pAddress->setEditable(true);
    m_pAddress->setInsertPolicy(QComboBox::NoInsert);
    m_pAddress->setCompleter(nullptr);
    m_pAddress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Keys typed into the box reach the combo box, which hands them to its edit without
    // filters; a key sent to the edit itself does not pass the combo box.
    m_pAddress->installEventFilter(this);
    m_pAddress->lineEdit()->installEventFilter(this);
    m_pBrowser->setObjectName(QString::number(IDC_BROWSER));
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(m_pWebIcon, 0, 0);
    layout->addWidget(m_pAddressLabel, 0, 1);
    layout->addWidget(m_pAddress, 0, 2);
    layout->addWidget(m_pBrowser, 1, 0, 1, 3);
    layout->setRowStretch(1, 1);
    setFocusProxy(m_pBrowser);
    connect(m_pAddress, &QComboBox::activated, this,
            [this](int index) { OnAddressSelected(index); });
    ConnectBrowser();
    RegisterCommands();
    g_pOperatorWindow = this;
}

COperatorView::~COperatorView()
{
    SetStatusPane(ID_INDICATOR_FRAMES, QString());
    if (g_pOperatorWindow == this)
        g_pOperatorWindow = nullptr;
}

void COperatorView::ConnectBrowser()
{
    connect(m_pBrowser, &CWebBrowser::BeforeNavigate2, this,
            [this](const QString &url, const QString &target) { OnBeforeNavigate2(url, target); });
    // Every finished load counts, also one of the address already shown.
    connect(m_pBrowser, &QWebEngineView::loadFinished, this, [this] {
        m_firstPage = FirstPage::Shown;
        OnNavigateComplete2(m_pBrowser->LocationURL());
    });
    connect(m_pBrowser, &QWebEngineView::titleChanged, this,
            [this](const QString &text) { OnTitleChange(text); });
    connect(m_pBrowser->page(), &QWebEnginePage::linkHovered, this,
            [this](const QString &text) { OnStatusTextChange(text); });
    connect(m_pBrowser, &CWebBrowser::ContextMenuRequested, this,
            [this](const QPoint &at) { OnContextMenu(at); });
}

void COperatorView::RegisterCommands()
{
    OnCommand(ID_OPERATOR_BACK, [this] { m_pBrowser->GoBack(); });
    OnCommand(ID_OPERATOR_FORWARD, [this] { m_pBrowser->GoForward(); });
    OnCommand(ID_OPERATOR_REFRESH, [this] { m_pBrowser->Refresh(); });
    OnCommand(ID_OPERATOR_STOP, [this] { m_pBrowser->Stop(); });
    OnUpdate(ID_OPERATOR_STOP, [this](CCmdUI &ui) { ui.Enable(m_pBrowser->Busy()); });
    OnCommand(ID_OPEN_LOCATION, [this] { OnOpenLocation(); });
    OnCommand(ID_FOLLOW_MODE, [this] { OnToggleFollowMode(); });
    OnUpdate(ID_FOLLOW_MODE, [this](CCmdUI &ui) { ui.SetCheck(m_follow.IsOn()); });
    // The current page, named the way the prompt names it, goes to every user.
    OnCommand(ID_PUSH_CURRENT,
              [this] { CPushDispatcher().PushUrlToAll(m_pBrowser->LocationURL()); });
    OnUpdate(ID_PUSH_CURRENT, [](CCmdUI &ui) { ui.Enable(g_pSessionFrame != nullptr); });
    const auto withDocument = [this](CCmdUI &ui) {
        ui.Enable(m_pBrowser->HasDocument());
    };
    OnCommand(ID_ADD_FAVORITE, [this] { OnAddFavorite(); });
    OnUpdate(ID_ADD_FAVORITE, withDocument);
    for (const int id : {ID_FILE_PRINT, ID_PRINT_PAGE}) {
        OnCommand(id, [this] { Print(); });
        OnUpdate(id, withDocument);
    }
    OnCommand(ID_PAGE_SETUP, [this] { PageSetup(); });
    OnUpdate(ID_PAGE_SETUP, withDocument);
    OnCommand(ID_EDIT_COPY, [this] { m_pBrowser->triggerPageAction(QWebEnginePage::Copy); });
    OnCommand(ID_EDIT_CUT, [this] { m_pBrowser->triggerPageAction(QWebEnginePage::Cut); });
    OnCommand(ID_EDIT_SELECT_ALL,
              [this] { m_pBrowser->triggerPageAction(QWebEnginePage::SelectAll); });
    OnUpdate(ID_EDIT_SELECT_ALL, withDocument);
    for (const int id : {ID_EDIT_FIND, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        OnUpdate(id, [](CCmdUI &ui) { ui.Enable(false); });
}

bool COperatorView::Navigate(const QString &address)
{
    m_pBrowser->Navigate(address);
    return true;
}

void COperatorView::Activate()
{
    auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (frame && frame->mdiArea())
        frame->mdiArea()->setActiveSubWindow(frame);
    FocusBrowser();
}

void COperatorView::FocusBrowser()
{
    m_pBrowser->setFocus();
    m_pBrowser->update();
}

void COperatorView::OnInitialUpdate()
{
    m_pAddress->addItems(g_addressHistory);
    NavigateToFirstPage();
}

void COperatorView::NavigateToFirstPage()
{
    if (!g_pSessionDoc) {
        Navigate(u"about:blank"_s);
        return;
    }
    // A machine nobody else can reach still shows the operator the session, on loopback.
    const QString address = WelcomeAddress(LookUpLocalHostOrWarn().m_address, *g_pSessionDoc);
    m_firstPage = FirstPage::Asked;
    m_strFirstPage = QUrl::fromUserInput(address).toString();
    Navigate(address);
}

void COperatorView::OnBeforeNavigate2(const QString &url, const QString &targetFrameName)
{
    TRACE("COperatorView::OnBeforeNavigate2()");
    // The warning waits until the engine has the navigation under way.
    const bool firstPage = IsFirstPageNavigation(url, targetFrameName);
    if (m_follow.OnBeforeNavigate2(url, targetFrameName, !firstPage))
        QMetaObject::invokeMethod(
            this, [this] { OnFramesWarning(); }, Qt::QueuedConnection);
}

// The first page's own navigation and those of its frames come before it has loaded. Any other
// top-level navigation is the operator's, also one asked for before the first page started
// (a script or favorite that opened the window to show its page).
bool COperatorView::IsFirstPageNavigation(const QString &url, const QString &targetFrameName)
{
    const bool topLevel = targetFrameName.isEmpty();
    if (m_firstPage == FirstPage::Asked && topLevel && url == m_strFirstPage) {
        m_firstPage = FirstPage::Loading;
        return true;
    }
    if (m_firstPage == FirstPage::Loading && !topLevel)
        return true;
    m_firstPage = FirstPage::Shown;
    return false;
}

void COperatorView::OnFramesWarning()
{
    CFramesWarningDlg(this).DoModal();
}

void COperatorView::OnNavigateComplete2(const QString &url)
{
    TRACE("COperatorView::OnNavigateComplete2Explorer1()");
    m_pBrowser->update();
    if (m_bTypedNavigation) {
        m_bTypedNavigation = false;
        if (m_pAddress->findText(url, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            m_pAddress->addItem(url);
        g_addressHistory.append(url);
    }
    m_pAddress->setEditText(url);
}

void COperatorView::OnTitleChange(const QString &text)
{
    SetTitle(kOperatorWindow + u" - "_s + text);
    // The engine names a page by its address until the page's own title arrives; only a
    // title the document itself holds names the pushed rows. The answer may come while the
    // window closes (empty then), so it touches nothing of the window.
    const QString address = m_pBrowser->LocationURL();
    m_pBrowser->page()->runJavaScript(u"document.title"_s, [address, text](const QVariant &title) {
        if (!title.isValid() || title.toString() != text || address == text)
            return;
        if (auto *activity = dynamic_cast<CDozoZedView *>(g_pActivityLink))
            activity->SetTitleForAddress(address, text);
    });
}

void COperatorView::OnStatusTextChange(const QString &text)
{
    m_strStatusText = text;
    if (g_pMainFrame)
        g_pMainFrame->SetMessageText(text);
}

void COperatorView::SetTitle(const QString &title)
{
    GetDocument()->SetTitle(title);
    if (QWidget *frame = parentWidget())
        frame->setWindowTitle(title);
}

void COperatorView::OnToggleFollowMode()
{
    m_follow.Toggle(m_pBrowser->LocationURL());
}

// The current page, under its own title, for the tree to offer the operator.
void COperatorView::OnAddFavorite()
{
    if (!m_pBrowser->HasDocument() || !g_pTree)
        return;
    g_pTree->AddFavorite(
        std::make_shared<CFavorite>(m_pBrowser->LocationName(), m_pBrowser->LocationURL()));
}

void COperatorView::OnOpenLocation()
{
    COpenLocationDlg dialog(this);
    if (dialog.DoModal() != IDOK || dialog.m_strLocation.isEmpty())
        return;
    QString address = dialog.m_strLocation;
    if (!address.contains(u"://"_s))
        address.prepend(u"http://"_s);
    Navigate(address);
    // Pushed whatever follow mode says: in follow mode the navigation itself pushes it, and a
    // second push here would send every user there twice.
    if (!m_follow.IsOn() && AnyUserConnected())
        CPushDispatcher().PushToAll(address);
}

void COperatorView::OnContextMenu(const QPoint &globalPos)
{
    TRACE("COperatorView::OnContextMenu()");
    if (!g_pMainFrame)
        return;
    QMenu menu(g_pMainFrame);
    menu.setObjectName(QString::number(IDR_OPERATOR_CONTEXT));
    // The entries follow the commands' state, so a command nobody handles shows disabled.
    for (const ContextItem &item : kContextMenu) {
        if (item.id != 0)
            g_pMainFrame->CommandAction(item.id);
    }
    g_pMainFrame->UpdateCommandUI();
    for (const ContextItem &item : kContextMenu) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction *command = g_pMainFrame->FindAction(item.id);
        QAction *entry = menu.addAction(QString::fromUtf16(item.text));
        entry->setEnabled(command->isEnabled());
        connect(entry, &QAction::triggered, command, &QAction::trigger);
    }
    TrackPopupMenu(menu, globalPos);
}

QString COperatorView::GetMessageString(int id) const
{
    if (id == ID_FOLLOW_MODE)
        return m_follow.TogglePrompt();
    if (id == ID_PUSH_CURRENT && !m_pBrowser->LocationName().isEmpty()) {
        return u"Push \""_s + m_pBrowser->LocationName() + u"\" ("_s + m_pBrowser->LocationURL()
            + u')';
    }
    return {};
}

bool COperatorView::eventFilter(QObject *watched, QEvent *event)
{
    const bool addressBox = watched == m_pAddress || watched == m_pAddress->lineEdit();
    if (addressBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            OnAddressEnter();
    }
    return CView::eventFilter(watched, event);
}

void COperatorView::OnAddressEnter()
{
    const QString text = m_pAddress->lineEdit()->text();
    if (text.isEmpty())
        return;
    m_bEnterPending = true;
    QTimer::singleShot(0, this, [this] { m_bEnterPending = false; });
    Navigate(text);
    m_bTypedNavigation = true;
}

// A chosen entry of the list is navigated to, but not added to the history again.
void COperatorView::OnAddressSelected(int index)
{
    if (m_bEnterPending || index < 0)
        return;
    Navigate(m_pAddress->itemText(index));
}

void COperatorView::Print()
{
    QPrintDialog dialog(&ApplicationPrinter(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_pBrowser->print(&ApplicationPrinter());
}

void COperatorView::PageSetup()
{
    ShowPrintSetup(this);
}
