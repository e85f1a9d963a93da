#pragma once

#include "CDialog.h"

// One page of a property sheet: a dialog shown inside the sheet, whose data are exchanged when
// the sheet opens and validated when the sheet's OK is pressed.
class CPropertyPage : public CDialog
{
public:
    CPropertyPage(const QString &caption, QWidget *parent = nullptr);

    const QString &Caption() const { return m_caption; }

    // Called by the sheet before it shows.
    void InitPage() { OnInitDialog(); }
    // The sheet's OK: exchange and validate; false keeps the sheet open on this page.
    virtual bool OnKillActive();
    // After every page accepted the OK.
    virtual void OnPageOK() { }

private:
    QString m_caption;
};
