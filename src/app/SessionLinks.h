#pragma once

#include "CFavorite.h"

#include <QList>
#include <QStringList>

#include <memory>

class CDozoZedDoc;
class CMDIChildWnd;

// Process-wide state that the session shares with windows built later. Every pointer may be
// null: the session then skips the call.

// The navigation tree's part in a session: its root label and its Favorites item.
class CTreeLink
{
public:
    virtual ~CTreeLink() = default;
    // The root item's label for the session file; an empty path gives the plain root text.
    virtual void SetServerLabel(const QString &path) = 0;
    virtual void RefreshFavorites() = 0;
    virtual void ResetFavorites() = 0;
    // Asks for the title in the Add Favorite dialog; on OK the favorite joins the favorites list
    // and the tree, unless the list holds the same page under the title it came with.
    virtual void AddFavorite(std::shared_ptr<CFavorite> favorite) = 0;
    // One child under "Scripts" per open script window, remembered for the session file.
    virtual void AddScript(CMDIChildWnd *frame, const QString &title) = 0;
    virtual void RemoveScript(CMDIChildWnd *frame) = 0;
    // After a script was saved under a new name: every child shows its document's title again.
    virtual void RefreshScripts() = 0;
    // The session file's open-scripts block: the saved paths of the open scripts; and the
    // paths a loaded file names, opened as script windows. Returned are the paths that found no
    // script window type to open them, which the session keeps listed.
    virtual QStringList OpenScriptPaths() const = 0;
    virtual QStringList OpenScripts(const QStringList &paths) = 0;
};
extern CTreeLink *g_pTree;

// The call-center link around the server's start and stop.
class CCallCenterLink
{
public:
    virtual ~CCallCenterLink() = default;
    // Announces the operator and starts polling; false when the server did not answer in time
    // (the operator has been told).
    virtual bool StartLink(CDozoZedDoc &document) = 0;
    // Signs off and ends the link's threads; nothing happens when no link runs.
    virtual void StopLink(CDozoZedDoc &document) = 0;
};
extern CCallCenterLink *g_pCallCenterLink;

// The main frame's tool bar: the session bar while a session is open, else the default one.
class CToolBarLink
{
public:
    virtual ~CToolBarLink() = default;
    virtual void ShowSessionToolBar(bool session) = 0;
};
extern CToolBarLink *g_pToolBarLink;

// Set by the main frame once the operator confirmed closing with users attached, so that the
// session does not ask again while it closes.
extern bool g_bExitConfirmed;

// The lists a session file carries besides the settings: the operator's favorites and the
// addresses typed into the operator window, owned for the whole run.
extern QList<std::shared_ptr<CFavorite>> g_favorites;
extern QStringList g_addressHistory;
