#include "CDozoZedView.h"

#include "CDozoZedDoc.h"
#include "CLogFile.h"
#include "CMainFrame.h"
#include "CPushDispatcher.h"
#include "CScriptEntry.h"
#include "CUserTable.h"
#include "HeaderClickFilter.h"
#include "ListSizing.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "TimeFormats.h"

#include <QDateTime>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kSent = u"Sent"_s;
const QString kPushing = u"Pushing"_s;
const QString kNotDelivered = u"Not delivered"_s;
constexpr int kRowsShown = 12;
const QString kSuperseded = u"Superseded"_s;
const QString kTimedOut = u"Timed out"_s;

// Column titles and widths in pixels, in column order.
struct ColumnLayout
{
    int title;
    int width;
};
constexpr ColumnLayout kColumns[] = {
    {IDS_COLUMN_TITLE, 150}, {IDS_COLUMN_CLIENT, 100}, {IDS_COLUMN_URL, 200},
    {IDS_COLUMN_TIME, 170},  {IDS_COLUMN_STATUS, 75},
};

} // namespace

CDozoZedView::CDozoZedView(CDocument &document, QWidget *parent)
    : CView(document, parent)
    , m_list(new QTreeWidget(this))
{
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setSectionsMovable(true);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft);
    QStringList titles;
    for (const ColumnLayout &column : kColumns)
        titles.append(LoadResString(column.title));
    m_list->setHeaderLabels(titles);
    for (int index = 0; index < m_list->columnCount(); ++index)
        m_list->setColumnWidth(index, kColumns[index].width);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    setFocusProxy(m_list);
    CHeaderClickFilter::Install(m_list);
    m_list->viewport()->setAcceptDrops(true);
    m_list->viewport()->installEventFilter(this);
    if (!g_pActivityLink)
        g_pActivityLink = this;
    OnUpdate(ID_INDICATOR_UPTIME, [this](CCmdUI &ui) { OnUpdateConnectionState(ui); });
}

QSize CDozoZedView::sizeHint() const
{
    return SizeForColumns(m_list, m_list->header()->length(), kRowsShown);
}

CDozoZedView::~CDozoZedView()
{
    if (g_pActivityLink == this)
        g_pActivityLink = nullptr;
}

void CDozoZedView::AddActivity(const QString &user, const QString &address, bool sent)
{
    auto *row = new QTreeWidgetItem;
    row->setText(UrlColumn, address);
    row->setText(ClientColumn, user);
    row->setText(StatusColumn, sent ? kSent : kPushing);
    row->setText(TimeColumn, ShortTimeText(QDateTime::currentDateTime()));
    m_list->insertTopLevelItem(0, row);
    if (g_pSessionDoc)
        CLogFile().Write(u"User = %1, Pushed = %2\n"_s.arg(user, address));
}

void CDozoZedView::MarkSent(const QString &address)
{
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        QTreeWidgetItem *row = m_list->topLevelItem(index);
        // A row that ended otherwise (one user's failure, a push replaced or timed out) keeps
        // its state when others fetch the same address.
        if (row->text(UrlColumn) == address && row->text(StatusColumn) == kPushing)
            row->setText(StatusColumn, kSent);
    }
}

// The user's own newest row of the address says so; a push to everybody gets a row of its own
// for this user.
void CDozoZedView::MarkNotDelivered(const QString &user, const QString &address)
{
    QTreeWidgetItem *row = nullptr;
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        QTreeWidgetItem *candidate = m_list->topLevelItem(index);
        if (candidate->text(UrlColumn) != address)
            continue;
        if (candidate->text(ClientColumn) == user)
            row = candidate;
        break;
    }
    if (!row) {
        row = new QTreeWidgetItem;
        row->setText(UrlColumn, address);
        row->setText(ClientColumn, user);
        row->setText(TimeColumn, ShortTimeText(QDateTime::currentDateTime()));
        m_list->insertTopLevelItem(0, row);
    }
    row->setText(StatusColumn, kNotDelivered);
    if (g_pSessionDoc)
        CLogFile().Write(u"User = %1, Not delivered = %2\n"_s.arg(user, address));
}

void CDozoZedView::MarkUnfetched(const QString &user, const QString &address, Unfetched why)
{
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        QTreeWidgetItem *row = m_list->topLevelItem(index);
        if (row->text(ClientColumn) == user && row->text(UrlColumn) == address
            && row->text(StatusColumn) == kPushing)
            row->setText(StatusColumn, why == Unfetched::Superseded ? kSuperseded : kTimedOut);
    }
}

void CDozoZedView::SetTitleForAddress(const QString &address, const QString &title)
{
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        QTreeWidgetItem *row = m_list->topLevelItem(index);
        if (row->text(UrlColumn) == address && row->text(TitleColumn).isEmpty())
            row->setText(TitleColumn, title);
    }
}

void CDozoZedView::OnUpdateConnectionState(CCmdUI &)
{
    if (!g_pMainFrame)
        return;
    const QMutexLocker lock(&g_userTable.Lock());
    g_pMainFrame->SetMessageText(g_userTable.Size() == 0 ? u"Waiting for client"_s
                                                         : u"Client connected"_s);
}

bool CDozoZedView::CanAccept(const QMimeData *formats)
{
    return formats && formats->hasFormat(CScriptEntry::kEntryFormat);
}

bool CDozoZedView::Drop(const QMimeData *formats)
{
    const std::optional<CScriptEntry> entry = CScriptEntry::FromMimeData(formats);
    if (!entry)
        return false;
    bool anyUser = false;
    {
        const QMutexLocker lock(&g_userTable.Lock());
        anyUser = g_userTable.Size() > 0;
    }
    if (anyUser)
        CPushDispatcher().PushToAll(entry->m_address);
    return true;
}

// The list's own drag handling is bypassed: it would move rows.
bool CDozoZedView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_list->viewport())
        return CView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (CanAccept(drag->mimeData())) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (Drop(drop->mimeData())) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    default:
        return CView::eventFilter(watched, event);
    }
}
