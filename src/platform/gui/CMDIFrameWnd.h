#pragma once

#include "CCmdTarget.h"

#include <QHash>
#include <QMainWindow>

class CMDIChildWnd;
class QAction;
class QMdiArea;
class QMenu;

// The program's main window: document windows in an MDI area, and one action per command id.
// Triggering an action routes the command (active view, its document, its frame, this frame,
// the application); the update pass sets every action's state along the same route.
class CMDIFrameWnd : public QMainWindow, public CCmdTarget
{
public:
    static constexpr int ID_WINDOW_CASCADE = 57650;
    static constexpr int ID_WINDOW_TILE_HORZ = 57651;
    static constexpr int ID_WINDOW_TILE_VERT = 57652;
    static constexpr int ID_NEXT_PANE = 57680;
    static constexpr int ID_PREV_PANE = 57681;
    // The profile's value that remembers where the window was.
    static constexpr QLatin1String kPlacementKey {"MainFrame/Geometry"};

    CMDIFrameWnd();

    QMdiArea *MdiArea() const { return m_pMdiArea; }
    // Opens the window at the size its contents ask for, at least a usable one, and never
    // larger than the area, so that it opens neither collapsed nor cut off.
    void AddChildFrame(CMDIChildWnd *child);
    // The menu that lists the open document windows below its own items, "&1 title" and so
    // on, the active one checked; choosing one brings it to the front.
    void SetWindowMenu(QMenu *menu);
    // The window's place as the profile remembers it; the first time, most of the screen.
    void RestoreWindowPlacement();
    void SaveWindowPlacement() const;
    CMDIChildWnd *MDIGetActive() const;
    // The frame's own title; the active document's title follows it after " - ".
    void SetFrameTitle(const QString &title);

    // The action of the command id, made on first use with the text and the status-bar prompt
    // (the part before "\n"; the part after it is the tool tip).
    QAction *CommandAction(int id, const QString &text = {}, const QString &prompt = {});
    QAction *FindAction(int id) const { return m_actions.value(id); }
    // Replaces the command's ordinary status-bar prompt.
    void SetCommandPrompt(int id, const QString &prompt);

    // A status-bar pane whose update handlers run in the update pass; they set the pane
    // themselves.
    void AddIndicator(int id) { m_indicators.append(id); }

    bool OnCommandId(int id);
    // A menu item or button under the pointer: the active window's own prompt replaces the
    // ordinary one, also in the status tip the toolkit shows for the item.
    void OnCommandHovered(int id);
    // Enables, checks and renames every action; run on idle and before a menu opens.
    void UpdateCommandUI();

protected:
    void closeEvent(QCloseEvent *event) override;
    // The close request: true lets the window close. By default documents are asked to save
    // and are closed.
    virtual bool OnClose();

private:
    QList<CCmdTarget *> Route() const;
    void UpdateFrameTitle();
    // Tile Horizontally stacks wide windows one above the other, Tile Vertically sets tall
    // ones side by side.
    void Tile(bool sideBySide);
    void UpdateWindowMenu();

    QMdiArea *m_pMdiArea;
    QHash<int, QAction *> m_actions;
    QHash<int, QString> m_prompts;
    QMenu *m_pWindowMenu = nullptr;
    QList<QAction *> m_windowItems;
    QList<int> m_indicators;
    QString m_strTitle;
    // The title this frame last set, before any suffix the toolkit adds for a maximized child.
    QString m_strShownTitle;
};
