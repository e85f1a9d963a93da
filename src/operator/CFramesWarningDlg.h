#pragma once

#include "CDialog.h"

// Warns once the operator's browser entered a framed page: every frame is pushed on its own.
// "More Info..." opens the help topic and leaves the warning open.
class CFramesWarningDlg : public CDialog
{
public:
    explicit CFramesWarningDlg(QWidget *parent = nullptr);

    void OnMoreInfo();
};
