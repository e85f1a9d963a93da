#pragma once

#include <QByteArray>
#include <QString>

// The generated pages of one user, written into the root folder: the greeting page that opens
// the control window, the control page that window polls (idle, carrying a push, or the logoff
// page) and the CD-ROM finder page. The files go when the page set goes.
class CPageSet
{
public:
    CPageSet() = default;
    CPageSet(const CPageSet &) = delete;
    CPageSet &operator=(const CPageSet &) = delete;
    ~CPageSet();

    // Writes the greeting page and a first control page that pushes the welcome page and
    // reloads after 2 seconds. Returns nonzero when either write failed.
    int Create(const QString &address, const QString &root, const QString &welcomePath,
               int browserV4, const QString &autoPlay, const QString &playEveryFrame);

    QString GreetingFileName() const;

    // An empty address writes the idle page. Each file is replaced whole or not at all. These
    // return 1 on success and 0 on failure; a failure has been told to the operator (once for
    // a series of failures). A control page that could not be written leaves the page set as it
    // was, except for the idle page, which it takes anyway (see SetControlPage).
    int WriteControlPage(const QString &pushedAddress, int refreshSecs);
    int WriteLogoffPage(const QString &logoffAddress);
    // The control page once a push found no main window to move (see LostPageText).
    int WriteLostPage(const QString &pushedAddress, int refreshSecs);
    int WriteCdromPage(const QString &contentPath, const QString &image);
    // A chat message waits for the user, or no longer: the idle page offers the chat or not.
    // A page carrying something else is left to finish first.
    int SetChatWaiting(bool waiting, int refreshSecs);
    // The control page's file may not hold the page: its last writing failed, or the file has
    // gone (the root folder was removed, and perhaps made again).
    bool ControlPageNeedsWriting() const;
    // Writes the control page again; 1 on success.
    int RestoreControlPage();
    // The last writing of the control page failed.
    bool ControlWriteFailed() const { return m_controlWriteFailed != 0; }

    bool IsPushing() const { return m_pushing != 0; }
    bool IsMainWindowLost() const { return m_mainWindowLost != 0; }
    bool IsLoggingOff() const { return m_loggingOff != 0; }
    // The idle page: nothing to deliver and nothing to tell.
    bool IsIdle() const { return !m_pushing && !m_mainWindowLost && !m_chatWaiting; }
    QString ControlFile() const { return m_controlFile; }
    QString GreetingFile() const { return m_greetingFile; }
    QString CdromFile() const { return m_cdromFile; }

private:
    struct ControlState
    {
        int pushing;
        int mainWindowLost;
        int loggingOff;
    };

    int SetControlPage(const ControlState &state, const QByteArray &page);
    int WritePage(const QString &fileName, const QByteArray &page);

    QString m_playEveryFrame;
    QString m_autoPlay;
    QString m_cdromFile;
    int m_blurOnPush = 0;
    int m_writeFailed = 0;
    int m_pushing = 0;
    int m_mainWindowLost = 0;
    int m_loggingOff = 0;
    int m_chatWaiting = 0;
    int m_controlWriteFailed = 0;
    int m_controlStale = 0; // the file may not hold m_controlPage
    QByteArray m_controlPage; // the page of the current state
    QString m_root;
    QString m_address;
    QString m_welcomePath;
    QString m_controlFile;
    QString m_greetingFile;
};
