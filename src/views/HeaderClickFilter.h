#pragma once

#include <QObject>

class QTreeWidget;

// Swallows double-clicks on a list's header while the list has no rows, so that an empty list
// keeps its column widths. Owned by the list.
class CHeaderClickFilter : public QObject
{
public:
    static void Install(QTreeWidget *list);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CHeaderClickFilter(QTreeWidget *list);

    QTreeWidget *m_list;
};
