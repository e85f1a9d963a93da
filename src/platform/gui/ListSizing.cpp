#include "ListSizing.h"

#include <QHeaderView>
#include <QStyle>
#include <QTreeView>

QSize SizeForColumns(const QTreeView *list, int columnsWidth, int rows)
{
    const int frame = 2 * list->frameWidth();
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    // A row holds a line of text and a small icon, whichever is taller, and a little space.
    const int rowHeight = qMax(list->fontMetrics().height(), 16) + 4;
    return {columnsWidth + frame + scrollBar,
            list->header()->sizeHint().height() + rows * rowHeight + frame};
}
