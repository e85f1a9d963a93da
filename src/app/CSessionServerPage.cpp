#include "CSessionServerPage.h"

#include "CCallCenterDlg.h"
#include "CDataExchange.h"
#include "CWorkstationDlg.h"
#include "DialogControls.h"
#include "MessageBox.h"
#include "ResourceIds.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CSessionServerPage::CSessionServerPage(QWidget *parent)
    : CPropertyPage(u"Server"_s, parent)
{
    QAbstractButton *workstation = MakeRadio(this, IDC_WORKSTATION_MODE, u"&Workstation mode"_s);
    QAbstractButton *workstationSettings
        = MakeButton(this, IDC_WORKSTATION_SETTINGS, u"&Settings..."_s);
    QAbstractButton *callCenter = MakeRadio(this, IDC_CALLCENTER_MODE, u"&Call Center Mode"_s);
    QAbstractButton *callCenterSettings
        = MakeButton(this, IDC_CALLCENTER_SETTINGS, u"&Settings..."_s);
    auto *description = new QLabel(this);
    SetControlId(description, IDC_MODE_DESCRIPTION);
    description->setWordWrap(true);
    QAbstractButton *logEnabled = MakeCheckBox(this, IDC_LOG_ENABLED, u"&Log File:"_s);

    auto *grid = new QGridLayout(this);
    grid->addWidget(workstation, 0, 0);
    grid->addWidget(workstationSettings, 0, 2);
    grid->addWidget(callCenter, 1, 0);
    grid->addWidget(callCenterSettings, 1, 2);
    grid->addWidget(description, 2, 0, 1, 3);
    grid->addWidget(logEnabled, 3, 0);
    grid->addWidget(MakeEdit(this, IDC_LOG_FILE), 3, 1);
    grid->addWidget(MakeButton(this, IDC_BROWSE_LOG, u"B&rowse..."_s), 3, 2);

    connect(workstation, &QAbstractButton::clicked, this, [this] { ShowCheckedMode(); });
    connect(callCenter, &QAbstractButton::clicked, this, [this] { ShowCheckedMode(); });
    connect(logEnabled, &QAbstractButton::clicked, this, [this] { OnLogEnabled(); });
    connect(workstationSettings, &QAbstractButton::clicked, this,
            [this] { OnWorkstationSettings(); });
    connect(callCenterSettings, &QAbstractButton::clicked, this,
            [this] { OnCallCenterSettings(); });
}

void CSessionServerPage::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_LOG_FILE, m_logFileName);
    DDX_Check(dx, IDC_LOG_ENABLED, m_logEnabled);
}

// The log file is always on and has no chooser.
void CSessionServerPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    Control<QAbstractButton>(m_callCenterMode != 0 ? IDC_CALLCENTER_MODE : IDC_WORKSTATION_MODE)
        ->setChecked(true);
    ShowCheckedMode();
    Control<QAbstractButton>(IDC_LOG_ENABLED)->setChecked(true);
    OnLogEnabled();
    QAbstractButton *browse = Control<QAbstractButton>(IDC_BROWSE_LOG);
    browse->hide();
    browse->setEnabled(false);
}

bool CSessionServerPage::OnKillActive()
{
    m_callCenterMode = Control<QAbstractButton>(IDC_CALLCENTER_MODE)->isChecked() ? 1 : 0;
    return CPropertyPage::OnKillActive();
}

void CSessionServerPage::ShowCheckedMode()
{
    const bool callCenter = Control<QAbstractButton>(IDC_CALLCENTER_MODE)->isChecked();
    Control<QLabel>(IDC_MODE_DESCRIPTION)
        ->setText(callCenter
                      ? u"Call Center mode allows you to use a Vantro Call Center Server."_s
                      : u"Workstation mode allows you to use your computer as a Vantro Server."_s);
    Control<QAbstractButton>(IDC_WORKSTATION_SETTINGS)->setEnabled(!callCenter);
    Control<QAbstractButton>(IDC_CALLCENTER_SETTINGS)->setEnabled(callCenter);
}

void CSessionServerPage::OnLogEnabled()
{
    Control<QLineEdit>(IDC_LOG_FILE)
        ->setEnabled(Control<QAbstractButton>(IDC_LOG_ENABLED)->isChecked());
}

void CSessionServerPage::OnWorkstationSettings()
{
    CWorkstationDlg dialog(this);
    dialog.m_port = m_port;
    dialog.m_rootFolder = m_rootFolder;
    if (dialog.DoModal() != IDOK)
        return;
    m_port = dialog.m_port;
    m_rootFolder = dialog.m_rootFolder;
}

void CSessionServerPage::OnCallCenterSettings()
{
    CCallCenterDlg dialog(this);
    dialog.m_operatorName = m_operatorName;
    dialog.m_callCenterServer = m_callCenterServer;
    dialog.m_callCenterPath = m_callCenterPath;
    if (dialog.DoModal() != IDOK)
        return;
    m_operatorName = dialog.m_operatorName;
    m_callCenterServer = dialog.m_callCenterServer;
    m_callCenterPath = dialog.m_callCenterPath;
}
