#include "HeaderClickFilter.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeWidget>

CHeaderClickFilter::CHeaderClickFilter(QTreeWidget *list)
    : QObject(list)
    , m_list(list)
{ }

void CHeaderClickFilter::Install(QTreeWidget *list)
{
    list->header()->viewport()->installEventFilter(new CHeaderClickFilter(list));
}

bool CHeaderClickFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick && m_list->topLevelItemCount() == 0)
        return true;
    return QObject::eventFilter(watched, event);
}
