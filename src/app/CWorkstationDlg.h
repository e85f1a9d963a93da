#pragma once

#include "CDialog.h"

// Workstation Settings: the content folder and the port. OK makes the folder the current
// directory, or offers to create it.
class CWorkstationDlg : public CDialog
{
public:
    explicit CWorkstationDlg(QWidget *parent = nullptr);

    unsigned m_port = 80;
    QString m_rootFolder;

    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange &dx) override;

private:
    void OnBrowse();
};
