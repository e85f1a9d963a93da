#include "CSessionSheet.h"

#include "CSessionClientPage.h"
#include "CSessionPagesPage.h"
#include "CSessionServerPage.h"
#include "CSvrOptions.h"
#include "ResourceIds.h"
#include "StringTable.h"

CSessionSheet::CSessionSheet(QWidget *parent)
    : CPropertySheet(LoadResString(IDS_SESSION_PROPERTIES), parent)
    , m_pServerPage(new CSessionServerPage(this))
    , m_pClientPage(new CSessionClientPage(this))
    , m_pPagesPage(new CSessionPagesPage(this))
{
    AddPage(m_pServerPage);
    AddPage(m_pClientPage);
    AddPage(m_pPagesPage);
}

void CSessionSheet::LoadFrom(const CSvrOptions &options)
{
    m_pServerPage->m_callCenterMode = options.m_callCenterMode;
    m_pServerPage->m_logFileName = options.m_logFileName;
    m_pServerPage->m_logEnabled = options.m_logEnabled;
    m_pServerPage->m_rootFolder = options.m_rootFolder;
    m_pServerPage->m_port = static_cast<unsigned>(options.m_port);
    m_pServerPage->m_operatorName = options.m_operatorName;
    m_pServerPage->m_callCenterServer = options.m_callCenterServer;
    m_pServerPage->m_callCenterPath = options.m_callCenterPath;
    m_pClientPage->m_refreshSecs = options.m_refreshSecs;
    m_pClientPage->m_downloadDelaySecs = options.m_downloadDelaySecs;
    m_pClientPage->m_instantDelivery = options.m_instantDelivery;
    m_pClientPage->m_bringLateJoiners = options.m_bringLateJoiners;
    m_pPagesPage->m_logonPage = options.m_logonPage;
    m_pPagesPage->m_logoffPage = options.m_logoffPage;
    m_pPagesPage->m_busyPage = options.m_busyPage;
    m_pPagesPage->m_welcomePage = options.m_welcomePage;
}

void CSessionSheet::StoreInto(CSvrOptions &options) const
{
    options.m_callCenterMode = m_pServerPage->m_callCenterMode;
    options.m_logFileName = m_pServerPage->m_logFileName;
    options.m_logEnabled = m_pServerPage->m_logEnabled;
    options.m_rootFolder = m_pServerPage->m_rootFolder;
    options.m_port = static_cast<qint32>(m_pServerPage->m_port);
    options.m_operatorName = m_pServerPage->m_operatorName;
    options.m_callCenterServer = m_pServerPage->m_callCenterServer;
    options.m_callCenterPath = m_pServerPage->m_callCenterPath;
    options.m_refreshSecs = m_pClientPage->m_refreshSecs;
    options.m_downloadDelaySecs = m_pClientPage->m_downloadDelaySecs;
    options.m_instantDelivery = m_pClientPage->m_instantDelivery;
    options.m_bringLateJoiners = m_pClientPage->m_bringLateJoiners;
    options.m_logonPage = m_pPagesPage->m_logonPage;
    options.m_logoffPage = m_pPagesPage->m_logoffPage;
    options.m_busyPage = m_pPagesPage->m_busyPage;
    options.m_welcomePage = m_pPagesPage->m_welcomePage;
}
