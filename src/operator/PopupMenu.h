#pragma once

#include <QPoint>

#include <functional>

class QMenu;

// Shows a context menu at a screen position and returns once it closed. Tests install a
// handler that looks at the menu instead, so that no test waits on an open menu.
void TrackPopupMenu(QMenu &menu, const QPoint &globalPos);

using PopupMenuHandler = std::function<void(QMenu &, const QPoint &)>;
// An empty handler restores the real menu.
void SetPopupMenuHandler(PopupMenuHandler handler);
