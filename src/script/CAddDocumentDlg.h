#pragma once

#include "CDialog.h"

// "Add Document": the title and address of a script entry, each at most 255 characters. The
// Properties command shows it with its own caption.
class CAddDocumentDlg : public CDialog
{
public:
    static constexpr int kMaxChars = 255;

    explicit CAddDocumentDlg(QWidget *parent = nullptr);

    QString m_title;
    QString m_address;

protected:
    void DoDataExchange(CDataExchange &dx) override;
};
