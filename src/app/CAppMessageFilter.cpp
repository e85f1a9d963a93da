#include "CAppMessageFilter.h"

#include "CSplashWnd.h"

bool CAppMessageFilter::eventFilter(QObject *receiver, QEvent *event)
{
    return CSplashWnd::PreTranslateAppMessage(event) || QObject::eventFilter(receiver, event);
}
