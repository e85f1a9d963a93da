#include "WidgetPrompts.h"

#include "FileDialog.h"
#include "MessageBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace {

QMessageBox::Icon Icon(unsigned style)
{
    switch (style & 0xF0) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons Buttons(unsigned style)
{
    switch (style & 0xF) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int Answer(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

int ShowWidgetBox(const MessageBoxRequest &request)
{
    QMessageBox box(Icon(request.style), request.caption.isEmpty() ? u"Vantro"_s : request.caption,
                    request.text, Buttons(request.style), QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    return Answer(box.exec());
}

QString ShowWidgetFileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.m_title, request.m_folder,
                       request.NameFilters());
    dialog.setAcceptMode(request.m_open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.m_overwritePrompt);
    if (!request.m_defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.m_defaultExt.mid(1));
    if (!request.m_fileName.isEmpty())
        dialog.selectFile(request.m_fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void InstallWidgetPrompts()
{
    SetMessageBoxHandler(&ShowWidgetBox);
    SetFileDialogHandler(&ShowWidgetFileDialog);
}
