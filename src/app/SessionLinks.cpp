#include "SessionLinks.h"

CTreeLink *g_pTree = nullptr;
CCallCenterLink *g_pCallCenterLink = nullptr;
CToolBarLink *g_pToolBarLink = nullptr;
bool g_bExitConfirmed = false;
QList<std::shared_ptr<CFavorite>> g_favorites;
QStringList g_addressHistory;
