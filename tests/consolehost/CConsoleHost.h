#pragma once

#include "CCommandChannel.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

class CDialog;
class CURLDlg;
class CScriptFrame;
class QTreeWidget;

// Drives the real console off screen for the browser tests: starts a session through New
// Session with the given settings, prints the session window's activity list as it changes
// and takes push and operator-window commands on standard input.
class CConsoleHost : public QObject
{
public:
    struct Settings
    {
        QString m_root;
        int m_port = 0;
        int m_refreshSecs = 1;
        int m_delaySecs = 1;
    };

    explicit CConsoleHost(const Settings &settings);

    // Runs New Session and prints "listening PORT"; false when no session started.
    bool Start();

private:
    int AnswerDialog(CDialog &dialog);
    void WatchActivityList();
    void PrintRow(int row, const char *kind);
    QString RowTitle(const QString &address) const;
    static QString ResidentKilobytes();
    void OnInputEnd();
    void RunCommand(const QByteArray &line);
    void PrintTreeUsers();
    void PrintUsersWindow();
    void LogoffFromUsersWindow(const QString &address);
    void RunChatCommand(const QList<QByteArray> &words);
    void PrintChat(const QString &key);
    void RunScriptCommand(const QList<QByteArray> &words);
    // Manual Push of a remote address to the user of that key alone, through the dialog.
    void RunManualPush(const QList<QByteArray> &words);
    static int AnswerManualPush(CURLDlg &dialog, const QString &address, const QString &key);
    // Runs the main frame's command after its update pass; false when it was disabled.
    static bool RunMenuCommand(int id);

    Settings m_settings;
    CCommandChannel m_channel;
    QTreeWidget *m_list = nullptr;
    // The script window the script commands work on, and the next Add Document's answers.
    QPointer<CScriptFrame> m_script;
    QString m_entryTitle;
    QString m_entryAddress;
    // The next Manual Push's address and user key.
    QString m_pushAddress;
    QString m_pushKey;
};
