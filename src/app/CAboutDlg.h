#pragma once

#include "CDialog.h"

// The About box: the release, with this machine's address in the caption.
class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};
