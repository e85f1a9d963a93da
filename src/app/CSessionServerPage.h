#pragma once

#include "CPropertyPage.h"

// The Server page: the session's mode with its settings dialogs, and the log file. The mode
// and the dialogs' values live in the page's members, not in controls.
class CSessionServerPage : public CPropertyPage
{
public:
    explicit CSessionServerPage(QWidget *parent = nullptr);

    int m_callCenterMode = 0;
    QString m_logFileName;
    int m_logEnabled = 0;
    unsigned m_port = 80;
    QString m_rootFolder;
    QString m_operatorName;
    QString m_callCenterServer;
    QString m_callCenterPath;

    bool OnKillActive() override;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;

private:
    // The description and settings button of whichever mode radio is checked.
    void ShowCheckedMode();
    void OnLogEnabled();
    void OnWorkstationSettings();
    void OnCallCenterSettings();
};
