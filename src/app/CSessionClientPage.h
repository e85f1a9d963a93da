#pragma once

#include "CPropertyPage.h"

// The Client page: how often control windows poll, and how long a push waits for its page.
class CSessionClientPage : public CPropertyPage
{
public:
    explicit CSessionClientPage(QWidget *parent = nullptr);

    int m_refreshSecs = 5;
    int m_downloadDelaySecs = 5;
    int m_instantDelivery = 1;
    int m_bringLateJoiners = 1;

protected:
    void DoDataExchange(CDataExchange &dx) override;
};
