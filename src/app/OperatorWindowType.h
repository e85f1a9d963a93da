#pragma once

#include <QString>

#include <functional>
#include <memory>

class CDocTemplate;

// The operator window type. The programs that embed the browser engine set the template
// maker before start-up, so that the console itself links no browser engine; without it the
// operator window's position stays reserved.
extern std::function<std::unique_ptr<CDocTemplate>()> g_makeOperatorTemplate;

// The open operator window, as the application and the main frame reach it.
class COperatorWindow
{
public:
    virtual ~COperatorWindow() = default;
    // Brings the window to the front instead of opening a second one.
    virtual void Activate() = 0;
    // The Open Location command, sent on by the main frame.
    virtual void OnOpenLocation() = 0;
    // Loads the address, which follow mode also pushes; false while the browser is not there.
    virtual bool Navigate(const QString &address) = 0;
    // Follow mode: every address the window loads is pushed to every user.
    virtual bool IsFollowing() const = 0;
};
// Null while no operator window is open.
extern COperatorWindow *g_pOperatorWindow;

// The operator window, opened through the application when none is open; null when it could
// not be opened.
COperatorWindow *OpenOperatorWindow();
// Opens the operator window when needed and loads the address there (pushed in follow mode).
void ShowInOperatorWindow(const QString &address);
