#include "COpenLocationDlg.h"

#include "CDataExchange.h"
#include "ResourceIds.h"
#include "SessionLinks.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

COpenLocationDlg::COpenLocationDlg(QWidget *parent)
    : CDialog(parent)
    , m_pLocation(new QComboBox(this))
{
    setWindowTitle(u"Open Location"_s);
    m_pLocation->setEditable(true);
    m_pLocation->setInsertPolicy(QComboBox::NoInsert);
    m_pLocation->setMinimumWidth(320);
    SetControlId(m_pLocation, IDC_ADDRESS);
    auto *label = new QLabel(u"&Location:"_s, this);
    label->setBuddy(m_pLocation);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QFormLayout(this);
    layout->addRow(label, m_pLocation);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
}

void COpenLocationDlg::OnInitDialog()
{
    m_pLocation->clear();
    m_pLocation->addItems(g_addressHistory);
    CDialog::OnInitDialog();
}

// The text goes one way only: the list, not a previous location, fills the box.
void COpenLocationDlg::DoDataExchange(CDataExchange &dx)
{
    if (dx.m_bSaveAndValidate)
        m_strLocation = m_pLocation->currentText();
}
