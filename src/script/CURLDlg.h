#pragma once

#include "CDialog.h"

#include <QTimer>

class QAbstractButton;
class QLineEdit;
class QTreeWidget;

// "Manual Push": one remote address, page of the content or media file on the users' own
// CD-ROM drives, pushed to the users chosen in the list (all of them unless the list is
// unfolded and changed). Rows hold copies of the users' names and keys, so that no row points
// into the navigation tree's records; a user who left while the dialog was open is skipped.
class CURLDlg : public CDialog
{
public:
    static constexpr int kMaxChars = 2048;
    static constexpr int kEnableTimerMs = 150;
    // Client sizes in dialog units, with and without the users list.
    static constexpr int kWidth = 325;
    static constexpr int kFoldedHeight = 119;
    static constexpr int kUnfoldedHeight = 223;

    explicit CURLDlg(QWidget *parent = nullptr);

    // Set when the push starts: the id of the radio button that is on, or -1.
    int m_contentKind = -1;
    QString m_remoteText;
    QString m_localText;
    QString m_cdromText;
    int m_usersListShown = 0;

    QTreeWidget *UsersList() const { return m_list; }
    QAbstractButton *PushButton() const { return m_push; }

    // "Vantro it!": pushes, then closes with OK; nothing happens while the button's rule says
    // no.
    void OnOK() override;
    void OnEnableTimer();
    void OnShowUsers();
    void OnFavorites();
    void OnBrowseLocal();
    void OnBrowseCdrom();
    void OnRadio();

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;

private:
    void PlaceControls();
    void AddUsers();
    void SetClientHeight(int dialogUnits);
    void SelectAll(bool selected);
    bool CanPush() const;
    QLineEdit *ActiveEdit() const;
    void FocusEdit(QLineEdit *edit);
    void Push();

    QTreeWidget *m_list;
    QAbstractButton *m_push;
    // Runs from the dialog's start until it is gone.
    QTimer m_enableTimer;
};
