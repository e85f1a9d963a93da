#pragma once

#include "CDialog.h"

// Call Center Settings: the operator's name and the call-center server's address and path.
class CCallCenterDlg : public CDialog
{
public:
    explicit CCallCenterDlg(QWidget *parent = nullptr);

    QString m_operatorName;
    QString m_callCenterServer;
    QString m_callCenterPath;

protected:
    void DoDataExchange(CDataExchange &dx) override;
};
