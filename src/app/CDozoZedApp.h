#pragma once

#include "CAppMessageFilter.h"
#include "CCallCenterSession.h"
#include "CChatHub.h"
#include "COpenChannel.h"
#include "CWinApp.h"

#include <QStringList>

// The console's application object: reads the two folder settings, registers the window
// types, makes the main window, hosts the session and window commands, and drops users whose
// control windows stopped polling on every idle moment.
class CDozoZedApp : public CWinApp
{
public:
    CDozoZedApp();
    ~CDozoZedApp() override;

    // Paths given with "--open" (the file manager's way in); a plain file argument opens
    // nothing.
    void SetFilesToOpen(const QStringList &paths) { m_filesToOpen = paths; }
    // The splash shows at start-up unless the program was started to open a file.
    void EnableSplash(bool enable);

    bool InitInstance() override;
    int ExitInstance() override;
    void OnIdle() override;

    void OnNewSession();
    void OnStartSession();
    void OnOperatorWindow();
    void OnUsersWindow();

private:
    void ReadFolderSettings();
    void RegisterTemplates();
    void RegisterCommands();
    // A new document of the template at that position, or the framework's failure text.
    void NewDocumentOf(int position);

    CAppMessageFilter m_messageFilter;
    CCallCenterSession m_callCenter;
    CChatHub m_chatHub;
    COpenChannel m_openChannel;
    QStringList m_filesToOpen;
};

// The two folder settings: the default content folder of new sessions, and where the Start
// Session dialog begins.
extern QString g_strRootDir;
extern QString g_strInstallDir;
