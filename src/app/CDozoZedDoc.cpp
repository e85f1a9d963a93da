#include "CDozoZedDoc.h"

#include "CArchive.h"
#include "CChatStore.h"
#include "CListenSocket.h"
#include "CLogFile.h"
#include "CNamedEvent.h"
#include "CSessionFile.h"
#include "CSessionSheet.h"
#include "CUserTable.h"
#include "LateJoiners.h"
#include "LocalHost.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "SessionLinks.h"
#include "TimeFormats.h"

#include <QDateTime>
#include <QSettings>

using namespace Qt::StringLiterals;

CDozoZedDoc *g_pSessionDoc = nullptr;
std::shared_ptr<CNamedEvent> g_hEndThread;
std::shared_ptr<CNamedEvent> g_hProgramEnd;
std::shared_ptr<CNamedEvent> g_hEndCmdThread;

namespace {

// The settings the listener and its connections read. Connections may outlive the document
// by a moment, so they read this copy, which lives for the whole run, and the document keeps
// it in step with its own settings.
CSvrOptions &ServedOptions()
{
    static CSvrOptions options;
    return options;
}

bool g_bInSetTitle = false;

bool UserTableEmpty()
{
    const QMutexLocker lock(&g_userTable.Lock());
    return g_userTable.Size() == 0;
}

// Instant delivery is the program's own setting, kept in its profile: session files, and every
// program that reads them, stay as they are.
const QString kInstantDeliveryKey = u"Settings/InstantDelivery"_s;
const QString kBringLateJoinersKey = u"Settings/BringLateJoiners"_s;

qint32 ProfileFlag(const QString &key)
{
    return QSettings().value(key, true).toBool() ? 1 : 0;
}

void TakeProfileSettings(CSvrOptions &options)
{
    options.m_instantDelivery = ProfileFlag(kInstantDeliveryKey);
    options.m_bringLateJoiners = ProfileFlag(kBringLateJoinersKey);
}

void StoreProfileFlag(const QString &key, qint32 &current, qint32 edited)
{
    if (current == edited)
        return;
    current = edited;
    QSettings().setValue(key, edited != 0);
}

} // namespace

CDozoZedDoc::CDozoZedDoc()
    : m_strProgramEnd(u"prg_end"_s)
    , m_strEndThread(u"end_thr"_s)
    , m_strEndCmdThread(u"end_cmdthr"_s)
{
    TakeProfileSettings(m_options);
    // A new session starts without the chats and the current page of the last one.
    g_chatStore.Clear();
    ForgetLastPushToAll();
    g_hEndThread = CNamedEvent::Create(m_strEndThread, false, false);
    g_hProgramEnd = CNamedEvent::Create(m_strProgramEnd, false, false);
    g_hEndCmdThread = CNamedEvent::Create(m_strEndCmdThread, true, true);
    if (!g_pSessionDoc)
        g_pSessionDoc = this;
    if (g_pTree)
        g_pTree->RefreshFavorites();
    OnCommand(ID_SESSION_PROPERTIES, [this] { OnProperties(); });
    OnCommand(ID_RESTART_SERVER, [this] { StartServer(); });
    OnUpdate(ID_FILE_SAVE, [this](CCmdUI &ui) {
        ui.Enable(IsModified());
        ui.SetText(u"&Save Session Settings"_s);
    });
    OnUpdate(ID_FILE_SAVE_AS, [](CCmdUI &ui) { ui.SetText(u"Save Session Settings &As..."_s); });
}

CDozoZedDoc::~CDozoZedDoc()
{
    StopServer();
    if (g_pSessionDoc == this)
        g_pSessionDoc = nullptr;
    // A session opened since this one closed keeps its label and tool bar.
    if (g_pSessionDoc)
        return;
    if (g_pTree) {
        g_pTree->SetServerLabel(QString());
        g_pTree->ResetFavorites();
    }
    if (g_pToolBarLink)
        g_pToolBarLink->ShowSessionToolBar(false);
}

bool CDozoZedDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    OnProperties();
    if (m_nSheetResult != IDOK)
        return false;
    if (g_pToolBarLink)
        g_pToolBarLink->ShowSessionToolBar(true);
    const bool started = StartServer();
    if (started && g_pTree)
        g_pTree->SetServerLabel(GetPathName());
    // Resolved against the current directory, so Save writes there without asking for a name.
    SetPathName(u"Untitled Session.vnt"_s);
    // A server that did not start leaves the session open but stopped, as the operator was
    // told why: the settings just made stay, to be changed and restarted.
    return true;
}

bool CDozoZedDoc::OnOpenDocument(const QString &path)
{
    if (this != g_pSessionDoc)
        return false;
    const bool loaded = CDocument::OnOpenDocument(path);
    const bool started = loaded && StartServer();
    if (loaded && !started)
        SetModifiedFlag();
    if (g_pToolBarLink)
        g_pToolBarLink->ShowSessionToolBar(true);
    if (g_pTree) {
        g_pTree->SetServerLabel(path);
        g_pTree->RefreshFavorites();
        // The reopened scripts join the tree, which changes nothing the file does not hold.
        const bool modified = IsModified();
        if (loaded)
            m_scriptPaths = g_pTree->OpenScripts(m_scriptPaths);
        SetModifiedFlag(modified);
    }
    // Open but stopped when the server did not start; only a file that did not load fails.
    return loaded;
}

void CDozoZedDoc::OnCloseDocument()
{
    const bool ask = !UserTableEmpty() && !g_bExitConfirmed;
    if (ask
        && ShowMessageBox(u"There are attached clients, shutdown anyway?"_s,
                          MB_OKCANCEL | MB_ICONQUESTION)
            != IDOK)
        return;
    StopServer();
    CDocument::OnCloseDocument();
    // The document itself goes when control returns to the loop; a new session may start
    // before that.
    if (g_pSessionDoc == this)
        g_pSessionDoc = nullptr;
    if (!ask)
        return;
    const QMutexLocker lock(&g_userTable.Lock());
    g_userTable.Clear();
}

void CDozoZedDoc::Serialize(CArchive &archive)
{
    CSessionFile session;
    session.m_options = m_options;
    session.m_favorites = g_favorites;
    session.m_addressHistory = g_addressHistory;
    session.m_scriptPaths = (g_pTree ? g_pTree->OpenScriptPaths() : QStringList()) + m_scriptPaths;
    // A load that throws part-way leaves every list as it was.
    session.Serialize(archive);
    if (archive.IsStoring())
        return;
    m_options = session.m_options;
    TakeProfileSettings(m_options);
    g_favorites = session.m_favorites;
    g_addressHistory = session.m_addressHistory;
    m_scriptPaths = session.m_scriptPaths;
}

// The path name stays the one the framework gave: resolving the bare title against the current
// directory would make Save write somewhere other than the file that was opened.
void CDozoZedDoc::SetTitle(const QString &)
{
    if (g_bInSetTitle)
        return;
    g_bInSetTitle = true;
    CDocument::SetTitle(AddressTitleOrWarn(ServedPort()));
    g_bInSetTitle = false;
}

int CDozoZedDoc::ServedPort() const
{
    return m_pListenSocket ? m_pListenSocket->serverPort() : m_options.m_port;
}

void CDozoZedDoc::WriteLogLine(const QString &prefix)
{
    CLogFile log;
    log.Write(prefix);
    log.Write(LongTimeText(QDateTime::currentDateTime()));
    log.Write(u"\n"_s);
}

bool CDozoZedDoc::StartServer()
{
    m_bStartTried = true;
    CLogFile().Clear();
    WriteLogLine(u"Session started "_s);
    StopServer();
    ServedOptions().CopyFrom(m_options);
    m_pListenSocket = new CListenSocket(ServedOptions(), this);
    const int port = m_options.m_port;
    // A port beyond 16 bits would otherwise be cut down to another port without a word.
    const CListenSocket::Result result = port >= 0 && port <= 0xFFFF
        ? m_pListenSocket->Start(static_cast<quint16>(port))
        : CListenSocket::CannotListen;
    if (result != CListenSocket::Listening) {
        ShowMessageBox(CListenSocket::FailureText(result, port), MB_ICONSTOP);
        delete m_pListenSocket;
        m_pListenSocket = nullptr;
        return false;
    }
    if (m_options.m_callCenterMode != 0 && g_pCallCenterLink
        && !g_pCallCenterLink->StartLink(*this)) {
        delete m_pListenSocket;
        m_pListenSocket = nullptr;
        return false;
    }
    // The title shows where users join, which a new port changes.
    SetTitle(GetTitle());
    return true;
}

void CDozoZedDoc::StopServer()
{
    if (!m_pListenSocket)
        return;
    // Whatever the mode says now: a restart after switching to workstation mode still has the
    // link of the old mode to stop.
    if (g_pCallCenterLink)
        g_pCallCenterLink->StopLink(*this);
    WriteLogLine(u"Session stopped "_s);
    m_pListenSocket->close();
    delete m_pListenSocket;
    m_pListenSocket = nullptr;
}

void CDozoZedDoc::OnProperties()
{
    CSessionSheet sheet;
    sheet.LoadFrom(m_options);
    m_nSheetResult = sheet.DoModal();
    if (m_nSheetResult != IDOK)
        return;
    CSvrOptions edited = m_options;
    sheet.StoreInto(edited);
    bool restart = false;
    if (IsRunning() && NeedsRestart(edited)) {
        if (ShowMessageBox(u"You must restart the server for these changes to take effect.  "
                           "Restart Now?"_s,
                           MB_YESNO | MB_ICONINFORMATION)
            == IDNO)
            return;
        restart = true;
    }
    CopyChanged(edited);
    ServedOptions().CopyFrom(m_options);
    // A session that is not listening (its start failed) starts with what was just chosen; a new
    // session's first sheet comes before any start.
    if (restart || (m_bStartTried && !IsRunning()))
        StartServer();
}

bool CDozoZedDoc::NeedsRestart(const CSvrOptions &edited) const
{
    return m_options.m_rootFolder != edited.m_rootFolder
        || m_options.m_callCenterPath != edited.m_callCenterPath
        || m_options.m_callCenterServer != edited.m_callCenterServer
        || m_options.m_port != edited.m_port
        || m_options.m_callCenterMode != edited.m_callCenterMode;
}

void CDozoZedDoc::CopyChanged(const CSvrOptions &edited)
{
    const auto copy = [this](auto &current, const auto &value) {
        if (current == value)
            return;
        current = value;
        SetModifiedFlag();
    };
    copy(m_options.m_rootFolder, edited.m_rootFolder);
    copy(m_options.m_port, edited.m_port);
    copy(m_options.m_busyPage, edited.m_busyPage);
    copy(m_options.m_logonPage, edited.m_logonPage);
    copy(m_options.m_logoffPage, edited.m_logoffPage);
    copy(m_options.m_welcomePage, edited.m_welcomePage);
    copy(m_options.m_refreshSecs, edited.m_refreshSecs);
    copy(m_options.m_downloadDelaySecs, edited.m_downloadDelaySecs);
    copy(m_options.m_logEnabled, edited.m_logEnabled);
    copy(m_options.m_logFileName, edited.m_logFileName);
    copy(m_options.m_callCenterMode, edited.m_callCenterMode);
    copy(m_options.m_callCenterPath, edited.m_callCenterPath);
    copy(m_options.m_callCenterServer, edited.m_callCenterServer);
    copy(m_options.m_operatorName, edited.m_operatorName);
    StoreProfileFlag(kInstantDeliveryKey, m_options.m_instantDelivery, edited.m_instantDelivery);
    StoreProfileFlag(kBringLateJoinersKey, m_options.m_bringLateJoiners, edited.m_bringLateJoiners);
}
