#pragma once

#include "CDocument.h"
#include "CSvrOptions.h"

#include <QStringList>

#include <memory>

class CListenSocket;
class CNamedEvent;

// The document of one presentation session: its settings and its listening socket. It starts
// and stops the server, writes the session's start and stop lines to the activity log and
// opens the Session Properties sheet. Only one serves at a time, reached through
// g_pSessionDoc.
class CDozoZedDoc : public CDocument
{
public:
    CDozoZedDoc();
    ~CDozoZedDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const QString &path) override;
    void OnCloseDocument() override;
    void Serialize(CArchive &archive) override;
    // The title is the session's join address, " (http://a.b.c.d[:port])", whatever title is
    // given.
    void SetTitle(const QString &title) override;

    // Stops a running server first, so it also restarts. True when the server listens.
    bool StartServer();
    void StopServer();
    bool IsRunning() const { return m_pListenSocket != nullptr; }
    // The port users join at: the one listened on, else the one set.
    int ServedPort() const;
    // Shows the Session Properties sheet and applies what the operator changed.
    void OnProperties();

    // Names of the events the call-center threads share with the session.
    const QString m_strProgramEnd;
    const QString m_strEndThread;
    const QString m_strEndCmdThread;
    // Null whenever the server is not running.
    CListenSocket *m_pListenSocket = nullptr;
    bool m_bStartTried = false; // StartServer has run at least once
    CSvrOptions m_options;
    // The button that closed the last Session Properties sheet.
    int m_nSheetResult = 0;
    // Scripts the file named that no script window shows (there is no tree, or no script
    // window type), kept so that saving the session does not drop them.
    QStringList m_scriptPaths;

private:
    // A listening-related setting differs, so the change needs a restart.
    bool NeedsRestart(const CSvrOptions &edited) const;
    void CopyChanged(const CSvrOptions &edited);
    void WriteLogLine(const QString &prefix);
};

// The serving session document; null when no session is open.
extern CDozoZedDoc *g_pSessionDoc;

// The three events shared with the call-center threads: "end_thr" (automatic, not signalled),
// "prg_end" (automatic, not signalled) and "end_cmdthr" (manual, signalled).
extern std::shared_ptr<CNamedEvent> g_hEndThread;
extern std::shared_ptr<CNamedEvent> g_hProgramEnd;
extern std::shared_ptr<CNamedEvent> g_hEndCmdThread;
