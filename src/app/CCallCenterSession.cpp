#include "CCallCenterSession.h"

#include "CCallCenter.h"
#include "CDozoZedDoc.h"
#include "CWorkerThreads.h"
#include "MessageBox.h"

using namespace Qt::StringLiterals;

CCallCenterSession::CCallCenterSession() = default;

CCallCenterSession::~CCallCenterSession()
{
    m_pCallCenter.reset();
    CWorkerThreads::StopAll();
}

bool CCallCenterSession::StartLink(CDozoZedDoc &document)
{
    m_pCallCenter = std::make_unique<CCallCenter>(document.m_options);
    if (m_pCallCenter->Start())
        return true;
    m_pCallCenter.reset();
    ShowMessageBox(u"Cannot Connect to Server"_s, MB_OK | MB_ICONSTOP);
    return false;
}

void CCallCenterSession::StopLink(CDozoZedDoc &)
{
    m_pCallCenter.reset();
}
