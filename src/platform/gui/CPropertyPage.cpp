#include "CPropertyPage.h"

CPropertyPage::CPropertyPage(const QString &caption, QWidget *parent)
    : CDialog(parent)
    , m_caption(caption)
{
    setWindowFlags(Qt::Widget);
}

bool CPropertyPage::OnKillActive()
{
    return UpdateData(true);
}
