#include "ChildFrames.h"

#include <QMdiArea>
#include <QMdiSubWindow>

void ActivateFrame(QMdiSubWindow *frame)
{
    if (!frame)
        return;
    if (frame->isMinimized())
        frame->showNormal();
    if (QMdiArea *area = frame->mdiArea())
        area->setActiveSubWindow(frame);
    else
        frame->activateWindow();
}
