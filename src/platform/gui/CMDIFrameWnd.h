#pragma once

#include "CCmdTarget.h"

#include <QHash>
#include <QMainWindow>

class CMDIChildWnd;
class QAction;
class QMdiArea;

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

    CMDIFrameWnd();

    QMdiArea *MdiArea() const { return m_pMdiArea; }
    void AddChildFrame(CMDIChildWnd *child);
    CMDIChildWnd *MDIGetActive() const;
    // The frame's own title; the active document's title follows it after " - ".
    void SetFrameTitle(const QString &title);

    // The action of the command id, made on first use with the text and the status-bar prompt
    // (the part before "\n"; the part after it is the tool tip).
    QAction *CommandAction(int id, const QString &text = {}, const QString &prompt = {});
    QAction *FindAction(int id) const { return m_actions.value(id); }

    // A status-bar pane whose update handlers run in the update pass; they set the pane
    // themselves.
    void AddIndicator(int id) { m_indicators.append(id); }

    bool OnCommandId(int id);
    // A menu item under the pointer: the active window's own prompt replaces the ordinary one.
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

    QMdiArea *m_pMdiArea;
    QHash<int, QAction *> m_actions;
    QList<int> m_indicators;
    QString m_strTitle;
};
