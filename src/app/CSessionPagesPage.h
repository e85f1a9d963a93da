#pragma once

#include "CPropertyPage.h"

// The Default Pages page: shows the logon, logoff, busy and welcome pages without letting them
// change, so its values always come back as they went in.
class CSessionPagesPage : public CPropertyPage
{
public:
    explicit CSessionPagesPage(QWidget *parent = nullptr);

    QString m_logonPage;
    QString m_logoffPage;
    QString m_busyPage;
    QString m_welcomePage;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;
};
