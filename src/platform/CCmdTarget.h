#pragma once

#include "CCmdUI.h"

#include <QHash>
#include <QList>

#include <functional>

// An object that handles command ids: a handler that carries the command out and, optionally,
// an update handler that enables, checks or renames its menu item and tool-bar button.
class CCmdTarget
{
public:
    virtual ~CCmdTarget() = default;

    bool HasCommand(int id) const { return m_commands.contains(id); }
    bool HasUpdate(int id) const { return m_updates.contains(id); }
    // Runs the command's handler; false when this target has none.
    bool OnCmdMsg(int id);
    // Runs the command's update handler; false when this target has none.
    bool OnUpdateCmdUI(CCmdUI &ui);

protected:
    void OnCommand(int id, std::function<void()> handler);
    void OnUpdate(int id, std::function<void(CCmdUI &)> handler);

private:
    QHash<int, std::function<void()>> m_commands;
    QHash<int, std::function<void(CCmdUI &)>> m_updates;
};

// Routing over targets in order (active view, its document, its frame, the main frame, the
// application). A command goes to the first target that handles it; false when none does.
bool RouteCommand(const QList<CCmdTarget *> &targets, int id);

// The first update handler along the route decides. Without one, the command is enabled when
// some target handles it and disabled otherwise, so that dead items never look alive.
void RouteUpdate(const QList<CCmdTarget *> &targets, CCmdUI &ui);
