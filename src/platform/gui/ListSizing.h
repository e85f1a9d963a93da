#pragma once

#include <QSize>

class QTreeView;

// The size a list needs to show columns of the given total width side by side and the given
// number of rows, with room for its frame and a vertical scroll bar.
QSize SizeForColumns(const QTreeView *list, int columnsWidth, int rows);
