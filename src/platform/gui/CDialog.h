#pragma once

#include <QDialog>

#include <functional>

class CDataExchange;

// A dialog with the framework's life: controls named by their ids, data exchanged with members
// on open and on OK (refusing OK while a field is invalid), and a modal run that tests can take
// over, so that no test ever waits on a window.
class CDialog : public QDialog
{
public:
    explicit CDialog(QWidget *parent = nullptr);

    // Runs the dialog modally; IDOK or IDCANCEL.
    int DoModal();

    // Moves values between controls and members; false when a field was refused (the
    // operator has then been told, and focus is on that field).
    bool UpdateData(bool saveAndValidate = true);

    // The OK button: exchange and validate, then close with IDOK; stays open on a refusal.
    virtual void OnOK();
    virtual void OnCancel();
    // The button that closed the dialog: IDOK, or IDCANCEL while it is open or cancelled.
    int Result() const { return m_nResult; }

    // The control with that id, as the type asked for.
    template<class T> T *Control(int id) const { return findChild<T *>(QString::number(id)); }

    // Gives a control its id, so that data exchange and tests find it.
    static void SetControlId(QWidget *control, int id);

protected:
    // Before the dialog shows: by default, members go into the controls.
    virtual void OnInitDialog();
    virtual void DoDataExchange(CDataExchange &dx);
    void EndDialog(int result);

    void accept() override;
    void reject() override;

private:
    int m_nResult = 0;
};

// Takes over modal runs: gets the dialog ready to use and returns the closing button. Tests
// press buttons on it; an empty handler restores the real modal loop.
using ModalDialogHandler = std::function<int(CDialog &)>;
void SetModalDialogHandler(ModalDialogHandler handler);
