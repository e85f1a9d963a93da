#include "CDialog.h"

#include "CDataExchange.h"
#include "MessageBox.h"

namespace {

ModalDialogHandler &Handler()
{
    static ModalDialogHandler handler;
    return handler;
}

} // namespace

CDialog::CDialog(QWidget *parent)
    : QDialog(parent)
{ }

int CDialog::DoModal()
{
    m_nResult = IDCANCEL;
    OnInitDialog();
    if (const ModalDialogHandler &handler = Handler())
        return handler(*this);
    exec();
    return m_nResult;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialog::OnInitDialog()
{
    UpdateData(false);
}

void CDialog::DoDataExchange(CDataExchange &) { }

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    m_nResult = result;
    setResult(result);
    if (isVisible())
        done(result);
}

void CDialog::accept()
{
    OnOK();
}

void CDialog::reject()
{
    OnCancel();
}

void CDialog::SetControlId(QWidget *control, int id)
{
    control->setObjectName(QString::number(id));
}

void SetModalDialogHandler(ModalDialogHandler handler)
{
    Handler() = std::move(handler);
}
