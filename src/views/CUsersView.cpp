#include "CUsersView.h"

#include "CChatHub.h"
#include "CDialog.h"
#include "CPushDispatcher.h"
#include "CUserInfo.h"
#include "CUsersDoc.h"
#include "CVantroTree.h"
#include "HeaderClickFilter.h"
#include "ListSizing.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "ServerLinks.h"
#include "SessionLinks.h"
#include "StringTable.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <optional>

using namespace Qt::StringLiterals;

CUsersView *g_pUsersView = nullptr;

namespace {

// The row's own copy of the user's state.
constexpr int kStateRole = Qt::UserRole;

struct ColumnLayout
{
    const char16_t *title;
    int width;
};
constexpr int kRowsShown = 8;
constexpr ColumnLayout kColumns[]
    = {{u"User", 125}, {u"IP Address", 75}, {u"Status", 125}, {u"Chat", 60}};

// The Status text of a state, or nothing for a state without one.
std::optional<QString> StatusText(int state)
{
    switch (state) {
    case CUserInfo::Waiting:
        return u"Waiting"_s;
    case CUserInfo::Connected:
        return u"Connected"_s;
    case CUserInfo::NoStatus:
        return QString();
    case CUserInfo::MainWindowLost:
        return u"Main window lost"_s;
    case CUserInfo::PageNotWritten:
        return u"Page not written"_s;
    default:
        return std::nullopt;
    }
}

} // namespace

CUsersView::CUsersView(CDocument &document, QWidget *parent)
    : CView(document, parent)
    , m_label(new QLabel(u"Users:"_s, this))
    , m_list(new QTreeWidget(this))
    , m_info(new QPushButton(u"Info..."_s, this))
    , m_logoff(new QPushButton(u"Logoff..."_s, this))
{
    CDialog::SetControlId(this, IDD_USERS);
    CDialog::SetControlId(m_list, IDC_USER_LIST);
    CDialog::SetControlId(m_info, IDC_USER_INFO);
    CDialog::SetControlId(m_logoff, IDC_USER_LOGOFF);
    m_label->setTextFormat(Qt::PlainText);
    m_label->move(kMargin, kMargin);
    m_list->move(kMargin, kMargin + m_label->sizeHint().height() + 2);
    for (QPushButton *button : {m_info, m_logoff})
        button->resize(button->sizeHint());
    setFocusProxy(m_list);
    g_pUsersView = this;
    if (auto *users = qobject_cast<CUsersDoc *>(&document)) {
        connect(users, &CUsersDoc::Update, this,
                [this](int hint, const CUserInfo *user) { OnUpdate(hint, user); });
    }
    connect(m_logoff, &QPushButton::clicked, this, [this] { OnLogoff(); });
    auto *chat = new QAction(LoadResString(IDS_CHAT_WITH_USER), m_list);
    connect(chat, &QAction::triggered, this, [this] { OnChatWithUser(); });
    m_list->addAction(chat);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { OnChatWithUser(); });
    connect(m_list, &QTreeWidget::itemClicked, this, [this] { OnEnableTimer(); });
    connect(&m_enableTimer, &QTimer::timeout, this, [this] { OnEnableTimer(); });
}

QSize CUsersView::sizeHint() const
{
    int columnsWidth = 0;
    for (const ColumnLayout &column : kColumns)
        columnsWidth += column.width;
    const QSize list = SizeForColumns(m_list, columnsWidth, kRowsShown);
    const int buttons = m_info->height() + m_logoff->height();
    return {list.width() + 2 * kMargin, m_list->y() + list.height() + buttons + 3 * kMargin};
}

CUsersView::~CUsersView()
{
    if (g_pUsersView == this)
        g_pUsersView = nullptr;
}

void CUsersView::OnInitialUpdate()
{
    CreateColumns();
    LayOut(width(), height());
    // Users who arrived before the window opened, in the order the tree got them.
    if (auto *tree = dynamic_cast<CVantroTree *>(g_pTree)) {
        for (const std::unique_ptr<CUserInfo> &user : tree->Users())
            OnUpdate(CUsersDoc::HINT_USER_ADDED, user.get());
    }
    m_enableTimer.start(kEnableTimerMs);
    OnEnableTimer();
    // "Info..." has nothing to show; it keeps its place in the layout.
    m_info->hide();
    m_info->setEnabled(false);
}

void CUsersView::CreateColumns()
{
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setSectionsMovable(true);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft);
    CHeaderClickFilter::Install(m_list);
    QStringList titles;
    for (const ColumnLayout &column : kColumns)
        titles.append(QString::fromUtf16(column.title));
    m_list->setHeaderLabels(titles);
    for (int index = 0; index < m_list->columnCount(); ++index)
        m_list->setColumnWidth(index, kColumns[index].width);
}

void CUsersView::resizeEvent(QResizeEvent *event)
{
    CView::resizeEvent(event);
    LayOut(width(), height());
}

// Buttons keep their sizes at the bottom left, "Info..." above "Logoff..." (hidden or not), and
// the list fills the rest above them.
void CUsersView::LayOut(int cx, int cy)
{
    m_logoff->move(kMargin, cy - kMargin - m_logoff->height());
    m_info->move(kMargin, m_logoff->y() - kMargin - m_info->height());
    const int top = m_list->y();
    m_list->setGeometry(kMargin, top, cx - 2 * kMargin, m_info->y() - kMargin - top);
}

void CUsersView::OnUpdate(int hint, const CUserInfo *user)
{
    if (!user)
        return;
    switch (hint) {
    case CUsersDoc::HINT_USER_ADDED:
        AppendRow(*user);
        break;
    case CUsersDoc::HINT_USER_REMOVED:
        delete FindRow(user->m_address);
        break;
    case CUsersDoc::HINT_USER_STATE: {
        QTreeWidgetItem *row = FindRow(user->m_address);
        const std::optional<QString> status = StatusText(user->m_state);
        if (!row || !status)
            return;
        row->setData(UserColumn, kStateRole, user->m_state);
        row->setText(StatusColumn, *status);
        break;
    }
    default:
        break;
    }
}

void CUsersView::AppendRow(const CUserInfo &user)
{
    auto *row = new QTreeWidgetItem(m_list);
    row->setText(UserColumn, user.m_name);
    row->setData(UserColumn, kStateRole, user.m_state);
    row->setCheckState(UserColumn, Qt::Unchecked);
    row->setText(AddressColumn, user.m_address);
    row->setText(StatusColumn, StatusText(user.m_state).value_or(QString()));
    if (g_pChatHub && g_pChatHub->IsUnread(user.m_address))
        row->setText(ChatColumn, u"Unread"_s);
}

void CUsersView::MarkUnread(const QString &key, bool unread)
{
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        QTreeWidgetItem *row = m_list->topLevelItem(index);
        if (row->text(AddressColumn) == key)
            row->setText(ChatColumn, unread ? u"Unread"_s : QString());
    }
}

void CUsersView::OnChatWithUser()
{
    const QTreeWidgetItem *row = m_list->currentItem();
    if (row && g_pChatHub)
        g_pChatHub->OpenChat(row->text(AddressColumn));
}

// The first row of the user's key, as the tree finds its entry: names are shown only.
QTreeWidgetItem *CUsersView::FindRow(const QString &key) const
{
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        QTreeWidgetItem *row = m_list->topLevelItem(index);
        if (row->text(AddressColumn) == key)
            return row;
    }
    return nullptr;
}

QList<QTreeWidgetItem *> CUsersView::SelectedRows() const
{
    QList<QTreeWidgetItem *> rows;
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        if (m_list->topLevelItem(index)->isSelected())
            rows.append(m_list->topLevelItem(index));
    }
    return rows;
}

void CUsersView::OnEnableTimer()
{
    m_logoff->setEnabled(!SelectedRows().isEmpty());
}

void CUsersView::OnLogoff()
{
    // Copies first: each removal below deletes a row.
    QList<CUserInfo> users;
    QString message = u"Are you sure you want to logoff the following user(s)?\n\n"_s;
    for (const QTreeWidgetItem *row : SelectedRows()) {
        CUserInfo user(row->text(UserColumn), row->text(AddressColumn));
        user.m_state = row->data(UserColumn, kStateRole).toInt();
        message += "\t- "_L1 + user.m_name + " ("_L1 + user.m_address + ")\n"_L1;
        users.append(user);
    }
    if (ShowMessageBox(message, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    CPushDispatcher dispatcher;
    for (const CUserInfo &user : std::as_const(users)) {
        if (g_pUserLink)
            g_pUserLink->RemoveUser(user);
        dispatcher.LogoffUser(user.m_address);
    }
}
