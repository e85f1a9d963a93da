#include "CDozoZedApp.h"

#include "CAboutDlg.h"
#include "CChildFrame.h"
#include "CDozoZedDoc.h"
#include "CMainFrame.h"
#include "CMyMultiDocTemplate.h"
#include "CSplashWnd.h"
#include "CUserTable.h"
#include "CUsersFrame.h"
#include "ChatWindowType.h"
#include "ChildFrames.h"
#include "CommandIcons.h"
#include "DefaultContent.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "OperatorWindowType.h"
#include "PrintSetup.h"
#include "ResourceIds.h"
#include "ScriptWindowType.h"
#include "StringTable.h"
#include "Users.h"
#include "UsersWindowType.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

QString g_strRootDir;
QString g_strInstallDir;

namespace {

// Template positions, counted from 0: the commands pick templates by position.
constexpr int kSessionTemplate = 0;
constexpr int kScriptTemplate = 1;
constexpr int kOperatorTemplate = 2;
constexpr int kChatTemplate = 3;
constexpr int kUsersTemplate = 4;

bool MakeSessionFrame(CDocument &document)
{
    auto *frame = new CChildFrame(document);
    if (g_pMainFrame)
        g_pMainFrame->AddChildFrame(frame);
    return true;
}

} // namespace

CDozoZedApp::CDozoZedApp()
{
    RegisterCommands();
    g_pCallCenterLink = &m_callCenter;
}

CDozoZedApp::~CDozoZedApp()
{
    g_pCallCenterLink = nullptr;
    const QMutexLocker lock(&g_userTable.Lock());
    g_userTable.Clear();
}

bool CDozoZedApp::InitInstance()
{
    QCoreApplication::setOrganizationName(LoadResString(IDS_COMPANY));
    QCoreApplication::setApplicationName(LoadResString(IDS_APP_TITLE));
    // Every window without an icon of its own shows the program's.
    QApplication::setWindowIcon(ApplicationIcon());
    ReadFolderSettings();
    LoadStdProfileSettings();
    RegisterTemplates();
    m_openChannel.Listen();
    QCoreApplication::instance()->installEventFilter(&m_messageFilter);
    auto *frame = new CMainFrame;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setAcceptDrops(false);
    m_pMainWnd = frame;
    frame->RestoreWindowPlacement();
    frame->show();
    EnableIdleProcessing();
    for (const QString &path : std::as_const(m_filesToOpen))
        OpenFromFileManager(path);
    return true;
}

void CDozoZedApp::EnableSplash(bool enable)
{
    CSplashWnd::EnableSplashScreen(enable);
}

int CDozoZedApp::ExitInstance()
{
    m_pMainWnd = nullptr;
    return CWinApp::ExitInstance();
}

void CDozoZedApp::OnIdle()
{
    CWinApp::OnIdle();
    SweepTimedOutUsers();
}

// Read only: the program never writes these two values.
void CDozoZedApp::ReadFolderSettings()
{
    QSettings settings;
    settings.beginGroup(u"Settings"_s);
    g_strRootDir = settings.value(u"RootDir"_s).toString();
    g_strInstallDir = settings.value(u"InstallDir"_s, QDir::homePath()).toString();
    settings.endGroup();
    if (g_strRootDir.isEmpty())
        g_strRootDir = PrepareDefaultContent();
    CSvrOptions::SetDefaultRootFolder(g_strRootDir);
}

// Five positions in a fixed order: session, script, operator window, chat, users. The later
// window types fill their reserved positions when they arrive.
void CDozoZedApp::RegisterTemplates()
{
    auto session = std::make_unique<CMyMultiDocTemplate>(
        IDR_SESSIONTYPE, LoadResString(IDR_SESSIONTYPE), [] { return new CDozoZedDoc; }, true);
    session->SetFrameFactory(&MakeSessionFrame);
    DocManager().AddDocTemplate(std::move(session));
    for (int position = kScriptTemplate; position <= kUsersTemplate; ++position)
        DocManager().ReserveTemplatePosition();
    if (g_makeScriptTemplate)
        DocManager().SetDocTemplate(kScriptTemplate, g_makeScriptTemplate());
    if (g_makeOperatorTemplate)
        DocManager().SetDocTemplate(kOperatorTemplate, g_makeOperatorTemplate());
    DocManager().SetDocTemplate(kChatTemplate, MakeChatTemplate());
    DocManager().SetDocTemplate(kUsersTemplate, MakeUsersTemplate());
}

void CDozoZedApp::RegisterCommands()
{
    OnCommand(ID_APP_ABOUT, [] { CAboutDlg().DoModal(); });
    OnCommand(ID_FILE_NEW, [] {});
    OnCommand(ID_FILE_PRINT_SETUP, [] { ShowPrintSetup(g_pMainFrame); });
    OnCommand(ID_NEW_SESSION, [this] { OnNewSession(); });
    OnUpdate(ID_NEW_SESSION, [](CCmdUI &ui) { ui.Enable(CChildFrame::SessionFrameCount() < 1); });
    OnCommand(ID_START_SESSION, [this] { OnStartSession(); });
    for (const int id : {ID_NEW_SCRIPT, ID_NEW_SCRIPT_BAR})
        OnCommand(id, [this] { NewDocumentOf(kScriptTemplate); });
    for (const int id : {ID_VIEW_OPERATOR, ID_OPERATOR_WINDOW_BAR})
        OnCommand(id, [this] { OnOperatorWindow(); });
    // The chat with everybody; a user's chat opens from the user's item.
    OnCommand(ID_NEW_CHAT, [this] { m_chatHub.OpenChat(QString()); });
    for (const int id : {ID_VIEW_USERS, ID_SHOW_USERS_BAR})
        OnCommand(id, [this] { OnUsersWindow(); });
    OnCommand(ID_SESSION_PROPERTIES, [] {
        if (g_pSessionDoc)
            g_pSessionDoc->OnProperties();
    });
}

void CDozoZedApp::NewDocumentOf(int position)
{
    CDocTemplate *docTemplate = DocManager().GetTemplate(position);
    if (!docTemplate || !docTemplate->OpenDocumentFile({}))
        ShowMessageBox(LoadResString(IDS_FAILED_EMPTY_DOC));
}

// At most one operator window: an open one comes to the front.
void CDozoZedApp::OnOperatorWindow()
{
    if (g_pOperatorWindow)
        g_pOperatorWindow->Activate();
    else
        NewDocumentOf(kOperatorTemplate);
}

// At most one users window: an open one comes to the front.
void CDozoZedApp::OnUsersWindow()
{
    if (CUsersFrame::FrameCount() > 0 && g_pUsersFrame)
        ActivateFrame(g_pUsersFrame);
    else
        NewDocumentOf(kUsersTemplate);
}

void CDozoZedApp::OnNewSession()
{
    CDocTemplate *docTemplate = DocManager().GetTemplate(kSessionTemplate);
    if (!docTemplate || !docTemplate->OpenDocumentFile({}))
        ShowMessageBox(u"Error starting session (-1)"_s);
}

void CDozoZedApp::OnStartSession()
{
    CDocTemplate *docTemplate = DocManager().GetTemplate(kSessionTemplate);
    if (!docTemplate) {
        ShowMessageBox(LoadResString(IDS_FAILED_EMPTY_DOC));
        return;
    }
    FileDialogRequest request;
    request.m_title = u"Create/Open New Session"_s;
    request.m_defaultExt = u".vnt"_s;
    request.m_filters = QStringList {u"Vantro Session Configuration (*.vnt)"_s, u"*.vnt"_s,
                                     u"All Files"_s, u"*"_s};
    request.m_folder = g_strInstallDir;
    request.m_overwritePrompt = true;
    const QString path = ShowFileDialog(request);
    if (path.isEmpty())
        return;
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (file >= 0) {
        ::close(file);
        docTemplate->OpenDocumentFile(path);
        return;
    }
    if (errno != ENOENT) {
        ShowMessageBox(u"Error creating file (-%1)"_s.arg(errno));
        return;
    }
    CDocument *document = docTemplate->OpenDocumentFile({});
    if (!document)
        return;
    document->SetPathName(path);
    document->SetTitle(QFileInfo(path).fileName());
    document->SetModifiedFlag();
}
