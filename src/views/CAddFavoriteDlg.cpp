#include "CAddFavoriteDlg.h"

#include "CDataExchange.h"
#include "DialogControls.h"
#include "ResourceIds.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

CAddFavoriteDlg::CAddFavoriteDlg(QWidget *parent)
    : CDialog(parent)
{
    setWindowTitle(u"Add Favorite"_s);
    SetControlId(this, IDD_ADD_FAVORITE);
    QLineEdit *title = MakeEdit(this, IDC_FAVORITE_TITLE);
    title->setMaxLength(kMaxChars);
    auto *address = new QPlainTextEdit(this);
    SetControlId(address, IDC_FAVORITE_ADDRESS);
    address->setReadOnly(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *form = new QFormLayout(this);
    form->addRow(u"&Title:"_s, title);
    form->addRow(address);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
}

void CAddFavoriteDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Shown as it is, never read back: only the title is the operator's to change.
    Control<QPlainTextEdit>(IDC_FAVORITE_ADDRESS)->setPlainText(m_address.left(kMaxChars));
}

void CAddFavoriteDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_FAVORITE_TITLE, m_title, kMaxChars);
}
