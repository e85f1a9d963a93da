#pragma once

#include "CDialog.h"

class QComboBox;

// "Open Location": an address typed or taken from the operator's address history.
class COpenLocationDlg : public CDialog
{
public:
    explicit COpenLocationDlg(QWidget *parent = nullptr);

    // The combo box's text once the dialog closed with OK.
    QString m_strLocation;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;

private:
    QComboBox *m_pLocation;
};
