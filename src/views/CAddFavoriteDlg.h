#pragma once

#include "CDialog.h"

// "Add Favorite": the operator edits the page's title; the address is shown read-only.
class CAddFavoriteDlg : public CDialog
{
public:
    static constexpr int kMaxChars = 4096;

    explicit CAddFavoriteDlg(QWidget *parent = nullptr);

    QString m_title;
    QString m_address;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;
};
