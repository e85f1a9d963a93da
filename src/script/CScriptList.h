#pragma once

#include <QTreeWidget>

#include <functional>

class CScriptEntry;

// The script window's two-column list. It drags its one selected entry out as a script entry,
// an address and an internet shortcut, and takes script entries dragged from another script
// list; every list has an identity of its own, never 0, that dragged entries carry.
class CScriptList : public QTreeWidget
{
public:
    enum Column { TitleColumn, UrlColumn };

    // The entry of a row, for dragging; and what to do with an entry dropped here.
    using EntryOfRow = std::function<const CScriptEntry *(int row)>;
    using DropHandler = std::function<void(const CScriptEntry &entry)>;

    CScriptList(EntryOfRow entryOfRow, DropHandler onDrop, QWidget *parent = nullptr);

    quint32 Identity() const { return m_identity; }
    // The selected rows, top to bottom.
    QList<int> SelectedRows() const;

    // What a drag of the selection would carry: null unless exactly one row is selected.
    QMimeData *DragData() const;
    // True for a script entry that comes from another script list.
    bool CanAccept(const QMimeData *formats) const;
    // Hands an acceptable entry to the drop handler; false when the data are refused.
    bool Drop(const QMimeData *formats);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    EntryOfRow m_entryOfRow;
    DropHandler m_onDrop;
    quint32 m_identity;
};
