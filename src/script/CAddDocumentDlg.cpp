#include "CAddDocumentDlg.h"

#include "CDataExchange.h"
#include "DialogControls.h"
#include "ResourceIds.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFieldChars = 50;

} // namespace

CAddDocumentDlg::CAddDocumentDlg(QWidget *parent)
    : CDialog(parent)
{
    setWindowTitle(u"Add Document"_s);
    SetControlId(this, IDD_ADD_DOCUMENT);
    QLineEdit *title = MakeEdit(this, IDC_DOCUMENT_TITLE);
    QLineEdit *address = MakeEdit(this, IDC_DOCUMENT_URL);
    // Wide enough for a typical address, which also leaves the caption room.
    for (QLineEdit *edit : {title, address}) {
        edit->setMaxLength(kMaxChars);
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * kFieldChars);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *form = new QFormLayout(this);
    form->addRow(u"&Title"_s, title);
    form->addRow(u"&URL"_s, address);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
}

void CAddDocumentDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_DOCUMENT_TITLE, m_title, kMaxChars);
    DDX_Text(dx, IDC_DOCUMENT_URL, m_address, kMaxChars);
}
