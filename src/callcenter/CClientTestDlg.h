#pragma once

#include "CDialog.h"

#include <QTimer>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QTreeWidget;

// "Launch Client(s)": a list of machines, kept only while the dialog is open, whose launch
// agents are sent this console's address.
class CClientTestDlg : public CDialog
{
public:
    static constexpr int kDefaultPort = 1500;
    static constexpr int kEnableTimerMs = 125;
    static constexpr int kMaxMachineName = 255;

    explicit CClientTestDlg(QWidget *parent = nullptr);

    unsigned m_port = kDefaultPort;

    QTreeWidget *List() const { return m_list; }
    QLabel *StatusLine() const { return m_status; }

    void OnAddClient();
    void OnRemoveClients();
    // Contacts the selected machines from the bottom row up, one after another.
    void OnLaunchClients();
    void OnEnableTimer();

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;

private:
    void PlaceControls();
    // False when the launch has to end here.
    bool LaunchOne(const QString &machine, int port, const QByteArray &text);
    bool AnySelected() const;

    QLineEdit *m_client;
    QTreeWidget *m_list;
    QLabel *m_status;
    QTimer m_enableTimer;
};
