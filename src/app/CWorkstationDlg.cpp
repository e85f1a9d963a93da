#include "CWorkstationDlg.h"

#include "CDataExchange.h"
#include "CSvrOptions.h"
#include "DialogControls.h"
#include "HelpTopics.h"
#include "MessageBox.h"
#include "ResourceIds.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CWorkstationDlg::CWorkstationDlg(QWidget *parent)
    : CDialog(parent)
{
    setWindowTitle(u"Workstation Settings"_s);
    auto *folderRow = new QHBoxLayout;
    QWidget *folder = MakeEdit(this, IDC_ROOT_FOLDER);
    folderRow->addWidget(folder);
    QAbstractButton *browse = MakeButton(this, IDC_BROWSE_ROOT, u"&Browse..."_s);
    folderRow->addWidget(browse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QAbstractButton *help = MakeButton(this, IDC_WORKSTATION_HELP, u"&Help"_s);
    buttons->addButton(help, QDialogButtonBox::HelpRole);
    auto *form = new QFormLayout(this);
    // A label beside a row of widgets has no partner of its own: it is given the edit.
    auto *folderLabel = new QLabel(u"&Local Content:"_s, this);
    folderLabel->setBuddy(folder);
    form->addRow(folderLabel, folderRow);
    form->addRow(u"&Port:"_s, MakeEdit(this, IDC_PORT));
    form->addRow(buttons);
    connect(browse, &QAbstractButton::clicked, this, [this] { OnBrowse(); });
    connect(help, &QAbstractButton::clicked, this, [] { ShowHelpTopic(HID_WORKSTATION_SETTINGS); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
}

void CWorkstationDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_PORT, m_port);
    // A larger number would silently wrap to another port.
    DDV_MinMaxInt(dx, IDC_PORT, m_port, CSvrOptions::kMinPort, CSvrOptions::kMaxPort);
    DDX_Text(dx, IDC_ROOT_FOLDER, m_rootFolder);
}

// The folder stays the current directory afterwards, so relative paths such as the default
// log file name land in it.
void CWorkstationDlg::OnOK()
{
    QLineEdit *edit = Control<QLineEdit>(IDC_ROOT_FOLDER);
    const QString folder = edit->text();
    if (!folder.isEmpty() && QDir::setCurrent(folder)) {
        CDialog::OnOK();
        return;
    }
    if (ShowMessageBox(u"Local content path does not exist?  Would you like to create it?"_s,
                       MB_YESNO | MB_ICONQUESTION)
        != IDYES)
        return;
    if (!folder.isEmpty() && QDir().mkdir(folder)) {
        CDialog::OnOK();
        return;
    }
    ShowMessageBox("Could not create \""_L1 + folder + "\"\nPlease specify another path."_L1);
    edit->setFocus();
    edit->selectAll();
}

void CWorkstationDlg::OnBrowse()
{
    const QString folder = QFileDialog::getExistingDirectory(this);
    if (!folder.isEmpty())
        Control<QLineEdit>(IDC_ROOT_FOLDER)->setText(QDir::toNativeSeparators(folder));
}
