#include "CCallCenterDlg.h"

#include "CDataExchange.h"
#include "DialogControls.h"
#include "ResourceIds.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CCallCenterDlg::CCallCenterDlg(QWidget *parent)
    : CDialog(parent)
{
    setWindowTitle(u"Vantro Call Center Settings"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Help has no topic behind it.
    buttons->addButton(MakeButton(this, IDC_CALLCENTER_HELP, u"&Help"_s),
                       QDialogButtonBox::HelpRole);
    auto *form = new QFormLayout(this);
    form->addRow(u"Operator &Name:"_s, MakeEdit(this, IDC_OPERATOR_NAME));
    form->addRow(u"Server &Address:"_s, MakeEdit(this, IDC_CALLCENTER_SERVER));
    form->addRow(u"Server Path:"_s, MakeEdit(this, IDC_CALLCENTER_PATH));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
}

void CCallCenterDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_OPERATOR_NAME, m_operatorName);
    DDX_Text(dx, IDC_CALLCENTER_SERVER, m_callCenterServer);
    DDX_Text(dx, IDC_CALLCENTER_PATH, m_callCenterPath);
}
