#include "CDataExchange.h"

#include "CDialog.h"
#include "DialogValidation.h"
#include "MessageBox.h"

#include <QAbstractButton>
#include <QLineEdit>

CDataExchange::CDataExchange(CDialog &dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate)
    , m_dialog(dialog)
{ }

QWidget *CDataExchange::Prepare(int id)
{
    return m_failed ? nullptr : m_dialog.Control<QWidget>(id);
}

void CDataExchange::Fail(QWidget *control, const QString &text)
{
    m_failed = true;
    ShowMessageBox(text, MB_ICONEXCLAMATION);
    control->setFocus();
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->selectAll();
}

namespace {

QLineEdit *Edit(CDataExchange &dx, int id)
{
    return qobject_cast<QLineEdit *>(dx.Prepare(id));
}

template<class T>
void ExchangeNumber(CDataExchange &dx, int id, T &value, QString (*parse)(const QString &, T &))
{
    QLineEdit *edit = Edit(dx, id);
    if (!edit)
        return;
    if (!dx.m_bSaveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    const QString error = parse(edit->text(), value);
    if (!error.isEmpty())
        dx.Fail(edit, error);
}

} // namespace

void DDX_Text(CDataExchange &dx, int id, QString &value, int maxChars)
{
    QLineEdit *edit = Edit(dx, id);
    if (!edit)
        return;
    if (dx.m_bSaveAndValidate) {
        value = edit->text();
        return;
    }
    if (maxChars >= 0)
        edit->setMaxLength(maxChars);
    edit->setText(value);
}

void DDX_Text(CDataExchange &dx, int id, int &value)
{
    ExchangeNumber(dx, id, value, &ParseDialogInt);
}

void DDX_Text(CDataExchange &dx, int id, unsigned &value)
{
    ExchangeNumber(dx, id, value, &ParseDialogUInt);
}

void DDX_Check(CDataExchange &dx, int id, int &value)
{
    auto *button = qobject_cast<QAbstractButton *>(dx.Prepare(id));
    if (!button)
        return;
    if (dx.m_bSaveAndValidate)
        value = button->isChecked() ? 1 : 0;
    else
        button->setChecked(value != 0);
}

void DDV_MinMaxInt(CDataExchange &dx, int id, int value, int minimum, int maximum)
{
    if (!dx.m_bSaveAndValidate)
        return;
    QWidget *control = dx.Prepare(id);
    if (!control)
        return;
    const QString error = CheckDialogRange(value, minimum, maximum);
    if (!error.isEmpty())
        dx.Fail(control, error);
}
