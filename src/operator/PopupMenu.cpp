#include "PopupMenu.h"

#include <QMenu>

namespace {

PopupMenuHandler &Handler()
{
    static PopupMenuHandler handler;
    return handler;
}

} // namespace

void TrackPopupMenu(QMenu &menu, const QPoint &globalPos)
{
    if (const PopupMenuHandler &handler = Handler()) {
        handler(menu, globalPos);
        return;
    }
    menu.exec(globalPos);
}

void SetPopupMenuHandler(PopupMenuHandler handler)
{
    Handler() = std::move(handler);
}
