#pragma once

#include "CCmdTarget.h"
#include "CDocManager.h"
#include "CMDIFrameWnd.h"

#include <QObject>
#include <QPointer>

// The application object: the window types in their order, the recently-used files, the
// framework's application commands and the idle step. One per process, reached through
// g_pWinApp.
class CWinApp : public CCmdTarget
{
public:
    static constexpr int ID_FILE_OPEN = 57601;
    static constexpr int ID_FILE_MRU_FILE1 = 57616;
    static constexpr int ID_APP_EXIT = 57665;

    CWinApp();
    ~CWinApp() override;

    virtual bool InitInstance() = 0;
    virtual int ExitInstance();
    // Every idle moment of the GUI thread.
    virtual void OnIdle();

    CDocManager &DocManager() { return m_docManager; }
    // Null once the main window is gone; idle moments still come after it closed.
    QPointer<CMDIFrameWnd> m_pMainWnd;

protected:
    // The profile's recently-used list, read at start and written at exit.
    void LoadStdProfileSettings();
    void SaveStdProfileSettings();
    // Starts calling OnIdle on every idle moment.
    void EnableIdleProcessing();

private:
    void OnOpenRecentFile(int index);

    CDocManager m_docManager;
    QObject m_idleContext;
};

extern CWinApp *g_pWinApp;
