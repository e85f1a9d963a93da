#include "CSessionClientPage.h"

#include "CDataExchange.h"
#include "CSvrOptions.h"
#include "DialogControls.h"
#include "ResourceIds.h"

#include <QAbstractButton>
#include <QFormLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CSessionClientPage::CSessionClientPage(QWidget *parent)
    : CPropertyPage(u"Client"_s, parent)
{
    auto *form = new QFormLayout(this);
    form->addRow(u"&Refresh:"_s, MakeEdit(this, IDC_REFRESH));
    form->addRow(u"&Download Delay:"_s, MakeEdit(this, IDC_DOWNLOAD_DELAY));
    form->addRow(MakeCheckBox(this, IDC_INSTANT_DELIVERY,
                              u"&Instant delivery: hold each poll until a push"_s));
    form->addRow(
        MakeCheckBox(this, IDC_BRING_LATE_JOINERS, u"Bring &late joiners to the current page"_s));
}

void CSessionClientPage::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_REFRESH, m_refreshSecs);
    DDV_MinMaxInt(dx, IDC_REFRESH, m_refreshSecs, CSvrOptions::kMinRefreshSecs,
                  CSvrOptions::kMaxRefreshSecs);
    DDX_Text(dx, IDC_DOWNLOAD_DELAY, m_downloadDelaySecs);
    DDV_MinMaxInt(dx, IDC_DOWNLOAD_DELAY, m_downloadDelaySecs, CSvrOptions::kMinDownloadDelaySecs,
                  CSvrOptions::kMaxDownloadDelaySecs);
    DDX_Check(dx, IDC_INSTANT_DELIVERY, m_instantDelivery);
    DDX_Check(dx, IDC_BRING_LATE_JOINERS, m_bringLateJoiners);
}
