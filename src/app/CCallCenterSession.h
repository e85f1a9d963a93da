#pragma once

#include "SessionLinks.h"

#include <memory>

class CCallCenter;

// The session's side of the call-center link: makes the link from the running session's
// settings at start and destroys it at stop. The application owns one and installs it as
// g_pCallCenterLink; when it goes, every call-center thread has ended.
class CCallCenterSession : public CCallCenterLink
{
public:
    CCallCenterSession();
    ~CCallCenterSession() override;

    bool StartLink(CDozoZedDoc &document) override;
    void StopLink(CDozoZedDoc &document) override;

private:
    std::unique_ptr<CCallCenter> m_pCallCenter;
};
