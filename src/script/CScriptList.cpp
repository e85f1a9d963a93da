#include "CScriptList.h"

#include "CScriptEntry.h"
#include "Trace.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QStyledItemDelegate>

namespace {

// Titles and addresses change through Properties only: an edit in place leaves the entry as it
// was.
class CRejectEditsDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override { }
};

quint32 NextIdentity()
{
    static quint32 s_lastIdentity = 0;
    if (++s_lastIdentity == 0)
        ++s_lastIdentity;
    return s_lastIdentity;
}

void TraceFormats(const QMimeData *offered)
{
    qCDebug(lcTrace, "------------[ Formats ]---------------");
    const QStringList names = offered->formats();
    for (qsizetype index = 0; index < names.size(); ++index)
        qCDebug(lcTrace, "Format %llX \t%s", static_cast<long long>(index),
                qUtf8Printable(names.at(index)));
    qCDebug(lcTrace, "--------------------------------------");
}

} // namespace

CScriptList::CScriptList(EntryOfRow entryOfRow, DropHandler onDrop, QWidget *parent)
    : QTreeWidget(parent)
    , m_entryOfRow(std::move(entryOfRow))
    , m_onDrop(std::move(onDrop))
    , m_identity(NextIdentity())
{
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(new CRejectEditsDelegate(this));
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    header()->setDefaultAlignment(Qt::AlignLeft);
    header()->setSectionsClickable(false);
}

QList<int> CScriptList::SelectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected())
            rows.append(row);
    }
    return rows;
}

QMimeData *CScriptList::DragData() const
{
    const QList<int> rows = SelectedRows();
    const CScriptEntry *entry = rows.size() == 1 ? m_entryOfRow(rows.front()) : nullptr;
    if (!entry)
        return nullptr;
    CScriptEntry dragged = *entry;
    dragged.m_sourceWindow = m_identity;
    return dragged.MakeMimeData();
}

bool CScriptList::CanAccept(const QMimeData *formats) const
{
    const std::optional<CScriptEntry> entry = CScriptEntry::FromMimeData(formats);
    return entry && entry->m_sourceWindow != 0 && entry->m_sourceWindow != m_identity;
}

bool CScriptList::Drop(const QMimeData *formats)
{
    if (!CanAccept(formats))
        return false;
    m_onDrop(*CScriptEntry::FromMimeData(formats));
    return true;
}

// The entry stays in this script whatever the target does with it.
void CScriptList::startDrag(Qt::DropActions)
{
    QMimeData *formats = DragData();
    if (!formats)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(formats);
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
}

void CScriptList::dragEnterEvent(QDragEnterEvent *event)
{
    TraceFormats(event->mimeData());
    dragMoveEvent(event);
}

void CScriptList::dragMoveEvent(QDragMoveEvent *event)
{
    if (CanAccept(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CScriptList::dropEvent(QDropEvent *event)
{
    if (Drop(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}
